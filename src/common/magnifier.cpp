#include "common/magnifier.h"

#include <algorithm>

namespace vardo {

std::optional<ZoomCopy> ZoomCopyFor(Point pointer, Size picture) {
  const int sx = pointer.x - kZoomOffset, sy = pointer.y - kZoomOffset;
  const int l = std::max(sx, 0), t = std::max(sy, 0);
  const int r = std::min(sx + kZoomSource, picture.width), b = std::min(sy + kZoomSource, picture.height);
  if (r <= l || b <= t) return std::nullopt;
  return ZoomCopy{Rect{l, t, r - l, b - t}, Point{(l - sx) * kZoomFactor, (t - sy) * kZoomFactor}};
}

}  // namespace vardo
