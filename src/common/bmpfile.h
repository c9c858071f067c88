// Windows BMP files written by our own code: 24 bits per pixel, bottom-up,
// rows padded to a multiple of 4 bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vardo {

constexpr uint32_t kBmpHeaderBytes = 14 + 40;  // BITMAPFILEHEADER + BITMAPINFOHEADER

// Bytes of one stored row of a 24-bit BMP.
constexpr uint64_t BmpRowBytes(uint32_t width) { return (uint64_t{width} * 3 + 3) / 4 * 4; }

// The whole file for a top-down picture of width*height 0x00RRGGBB values
// (BGRA bytes in memory; alpha is dropped). Returns no bytes when the size
// is not positive or the file would not fit the format's 32-bit size fields.
// Resolution is stored as 96 dpi (3780 pixels per metre).
std::vector<uint8_t> EncodeBmp24(const uint32_t* pixels, int width, int height);

}  // namespace vardo
