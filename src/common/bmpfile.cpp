#include "common/bmpfile.h"

#include <limits>

namespace vardo {
namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0) return {};
  const uint64_t row = BmpRowBytes(static_cast<uint32_t>(width));
  const uint64_t image = row * static_cast<uint64_t>(height);
  const uint64_t total = image + kBmpHeaderBytes;
  if (total > std::numeric_limits<uint32_t>::max()) return {};

  std::vector<uint8_t> out(static_cast<size_t>(total), 0);
  uint8_t* h = out.data();
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<uint32_t>(total));
  Put32(h + 10, kBmpHeaderBytes);  // offset of the pixel data
  uint8_t* i = h + 14;
  Put32(i + 0, 40);
  Put32(i + 4, static_cast<uint32_t>(width));
  Put32(i + 8, static_cast<uint32_t>(height));  // positive: bottom-up
  Put16(i + 12, 1);                             // planes
  Put16(i + 14, 24);                            // bits per pixel
  Put32(i + 16, 0);                             // BI_RGB
  Put32(i + 20, static_cast<uint32_t>(image));
  Put32(i + 24, 3780);
  Put32(i + 28, 3780);

  const size_t w = static_cast<size_t>(width);
  for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
    const uint32_t* src = pixels + y * w;
    uint8_t* dst = h + kBmpHeaderBytes + (static_cast<size_t>(height) - 1 - y) * static_cast<size_t>(row);
    for (size_t x = 0; x < w; ++x) {
      const uint32_t c = src[x];
      dst[3 * x + 0] = static_cast<uint8_t>(c);        // blue
      dst[3 * x + 1] = static_cast<uint8_t>(c >> 8);   // green
      dst[3 * x + 2] = static_cast<uint8_t>(c >> 16);  // red
    }
  }
  return out;
}

}  // namespace vardo
