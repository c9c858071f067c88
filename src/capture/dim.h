// The darkened look outside the selection: black at alpha 170 over the
// frozen picture, computed once per capture so that every dimming pass is
// two plain blits.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vardo::capture {

constexpr int kDimAlpha = 170;

// One colour channel under black at alpha 170: 85/255 of it, rounded.
constexpr uint8_t DimChannel(uint8_t v) {
  return static_cast<uint8_t>((v * (255 - kDimAlpha) + 127) / 255);
}

// Darkens 32-bit pixels (blue, green, red; the top byte is kept) from `src`
// into `dst`, which may be the same buffer.
void DimPixels(const uint32_t* src, uint32_t* dst, size_t count);

}  // namespace vardo::capture
