// Reduction of a 32-bit picture to an 8-bit palette picture (for GIF).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vardo {

struct QuantizedImage {
  // At most 256 colours, 0x00RRGGBB.
  std::vector<uint32_t> palette;
  // One palette index per input pixel, in input order.
  std::vector<uint8_t> indices;
};

// Pixels are 0xAARRGGBB values (BGRA bytes in memory, as in 32-bit DIBs and
// GDI+ 32bppARGB); alpha is ignored. With at most 256 distinct colours the
// result is exact and the palette lists them in order of first appearance;
// otherwise a median cut, refined by one nearest-colour pass, picks 256
// colours: over the distinct colours themselves while there are at most
// 16384 of them (a screenshot's gradients and smoothed text), else over a
// 15-bit colour histogram. An empty input gives an empty result.
QuantizedImage QuantizeColors(const uint32_t* pixels, size_t count);

}  // namespace vardo
