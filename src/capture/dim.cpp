#include "capture/dim.h"

#include <array>

namespace vardo::capture {

void DimPixels(const uint32_t* src, uint32_t* dst, size_t count) {
  static const std::array<uint8_t, 256> table = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) t[static_cast<size_t>(v)] = DimChannel(static_cast<uint8_t>(v));
    return t;
  }();
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = src[i];
    dst[i] = (p & 0xFF000000u) | (uint32_t{table[(p >> 16) & 0xFF]} << 16) |
                (uint32_t{table[(p >> 8) & 0xFF]} << 8) | table[p & 0xFF];
  }
}

}  // namespace vardo::capture
