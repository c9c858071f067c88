// The frozen-screen tools' magnifier: a 50 x 50 pixel square from 7 pixels
// above and left of the pointer, drawn 4 times as large, so the pointer's
// pixel lands on zoomed pixels 28 to 31.
#pragma once
#include <optional>

#include "common/geometry.h"

namespace vardo {

inline constexpr int kZoomSource = 50;
inline constexpr int kZoomFactor = 4;
inline constexpr int kZoomOffset = 7;
inline constexpr int kZoomSide = kZoomSource * kZoomFactor;  // 200

// The part of the source square that lies on a picture of `picture` size,
// and where it goes in the zoomed image (unscaled offset times the factor).
struct ZoomCopy {
  Rect source;
  Point dest;
};
// Empty when the square lies wholly off the picture.
std::optional<ZoomCopy> ZoomCopyFor(Point pointer, Size picture);

}  // namespace vardo
