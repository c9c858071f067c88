// Painting a colour at an opacity straight into 32-bit pixels (blue, green,
// red, and a top byte that is kept): how the rectangle tool burns its crisp
// frame, at a cost that follows the frame's pixels only.
#pragma once
#include <cstdint>

#include "capture/geometry.h"

namespace vardo::capture {

// One channel of `over` at opacity `alpha` (0..255) on `under`, rounded:
// 0 leaves `under`, 255 gives `over`.
constexpr uint8_t BlendChannel(uint8_t under, uint8_t over, int alpha) {
  return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

// Paints `argb` (0xAARRGGBB) over the part of `r` inside both `clip` and the
// picture (`size`, rows of `stride` pixels, top-down).
void BlendRect(uint32_t* pixels, Size size, int stride, const Rect& r, const Rect& clip, uint32_t argb);

}  // namespace vardo::capture
