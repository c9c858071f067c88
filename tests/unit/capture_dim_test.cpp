#include "capture/dim.h"

#include <gtest/gtest.h>

#include <vector>

namespace vardo::capture {
namespace {

TEST(CaptureDim, ChannelsKeep85Of255Rounded) {
  EXPECT_EQ(DimChannel(0), 0);
  EXPECT_EQ(DimChannel(255), 85);
  EXPECT_EQ(DimChannel(3), 1);    // 1.0
  EXPECT_EQ(DimChannel(1), 0);    // 0.33
  EXPECT_EQ(DimChannel(2), 1);    // 0.67
  EXPECT_EQ(DimChannel(128), 43); // 42.67
  for (int v = 0; v < 256; ++v) {
    const double exact = v * 85.0 / 255.0;
    EXPECT_NEAR(DimChannel(static_cast<uint8_t>(v)), exact, 0.5) << v;
  }
}

TEST(CaptureDim, PixelsDarkenEveryColourAndKeepTheTopByte) {
  std::vector<uint32_t> px = {0xFFFFFFFFu, 0x00FF8000u, 0x12000000u, 0x000A00FFu};
  std::vector<uint32_t> out(px.size(), 0xDEADBEEFu);
  DimPixels(px.data(), out.data(), px.size());
  EXPECT_EQ(out, (std::vector<uint32_t>{0xFF555555u, 0x00552B00u, 0x12000000u, 0x00030055u}));
  DimPixels(px.data(), px.data(), px.size());  // in place
  EXPECT_EQ(px, out);
}

}  // namespace
}  // namespace vardo::capture
