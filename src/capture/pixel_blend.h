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

// `over` (0x00RRGGBB) at opacity `alpha` on the pixel `under`, its top
// byte kept: BlendChannel on each colour, red and blue side by side in one
// word (x / 255 rounded is (t + t / 256) / 256 with t = x + 128).
constexpr uint32_t BlendPixel(uint32_t under, uint32_t over, int alpha) {
  const uint32_t a = static_cast<uint32_t>(alpha), na = 255 - a;
  uint32_t rb = (under & 0xFF00FFu) * na + (over & 0xFF00FFu) * a + 0x800080u;
  uint32_t g = (under & 0xFF00u) * na + (over & 0xFF00u) * a + 0x8000u;
  rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
  g = ((g + ((g >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
  return (under & 0xFF000000u) | rb | g;
}

// Paints `argb` (0xAARRGGBB) over the part of `r` inside both `clip` and the
// picture (`size`, rows of `stride` pixels, top-down).
void BlendRect(uint32_t* pixels, Size size, int stride, const Rect& r, const Rect& clip, uint32_t argb);

}  // namespace vardo::capture
