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

// Darkens 32-bit pixels in place (blue, green, red; the top byte is kept).
void DimPixels(uint32_t* pixels, size_t count);

}  // namespace vardo::capture
