#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/bmpfile.h"

namespace vardo {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}
uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8; }

TEST(ImagingBmp, HeadersDescribeA24BitBottomUpFile) {
  const uint32_t px[] = {0x00112233, 0xFF445566, 0x00778899,   // top row
                         0x00AABBCC, 0x00DDEEFF, 0x00010203};  // bottom row
  const auto b = EncodeBmp24(px, 3, 2);
  ASSERT_EQ(b.size(), 54u + 2 * 12);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(U32(b, 2), b.size());
  EXPECT_EQ(U32(b, 6), 0u);
  EXPECT_EQ(U32(b, 10), 54u);
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(U32(b, 18), 3u);
  EXPECT_EQ(U32(b, 22), 2u);  // positive: bottom-up
  EXPECT_EQ(U16(b, 26), 1u);
  EXPECT_EQ(U16(b, 28), 24u);
  EXPECT_EQ(U32(b, 30), 0u);
  EXPECT_EQ(U32(b, 34), 24u);
  EXPECT_EQ(U32(b, 38), 3780u);
  EXPECT_EQ(U32(b, 42), 3780u);
  EXPECT_EQ(U32(b, 46), 0u);
  EXPECT_EQ(U32(b, 50), 0u);
  // The bottom row comes first, blue-green-red, then one padding byte.
  const std::vector<uint8_t> rows(b.begin() + 54, b.end());
  const std::vector<uint8_t> expect = {0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0,
                                       0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0};
  EXPECT_EQ(rows, expect);
}

TEST(ImagingBmp, RowsArePaddedToFourBytes) {
  const struct {
    int width;
    uint32_t row;
  } rows[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {6, 20}, {7, 24}, {8, 24}, {1365, 4096}};
  for (const auto& r : rows) {
    EXPECT_EQ(BmpRowBytes(static_cast<uint32_t>(r.width)), r.row) << r.width;
    std::vector<uint32_t> px(static_cast<size_t>(r.width) * 3, 0x00FFFFFF);
    const auto b = EncodeBmp24(px.data(), r.width, 3);
    ASSERT_EQ(b.size(), 54u + 3 * r.row) << r.width;
    // Padding bytes are zero, pixel bytes are white.
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t i = 0; i < r.row; ++i)
        EXPECT_EQ(b[54 + y * r.row + i], i < 3u * static_cast<uint32_t>(r.width) ? 0xFF : 0x00);
  }
}

TEST(ImagingBmp, ImpossibleSizesGiveNoBytes) {
  const uint32_t one = 0;
  EXPECT_TRUE(EncodeBmp24(&one, 0, 1).empty());
  EXPECT_TRUE(EncodeBmp24(&one, 1, 0).empty());
  EXPECT_TRUE(EncodeBmp24(&one, -1, 1).empty());
  EXPECT_TRUE(EncodeBmp24(&one, 1, -1).empty());
  EXPECT_TRUE(EncodeBmp24(nullptr, 1, 1).empty());
  // Beyond the 32-bit file size field (checked before any pixel is read).
  EXPECT_TRUE(EncodeBmp24(&one, 100000, 20000).empty());
  EXPECT_TRUE(EncodeBmp24(&one, 0x7FFFFFFF, 0x7FFFFFFF).empty());
}

}  // namespace
}  // namespace vardo
