#include "common/units.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(Units, TwipsAreFifteenPerPixelAt96Dpi) {
  EXPECT_EQ(TwipsToPixels(500, 96), 33);  // handle offset of the pin layer
  EXPECT_EQ(TwipsToPixels(3975, 96), 265);
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(PixelsToTwips(1, 96), 15);
}

TEST(Units, TwipsFollowTheDpi) {
  EXPECT_EQ(TwipsToPixels(1440, 144), 144);
  EXPECT_EQ(TwipsToPixels(500, 144), 50);
  EXPECT_EQ(PixelsToTwips(3, 144), 30);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(144), 10.0);
}

TEST(Units, ScaleRoundsHalfAwayFromZero) {
  EXPECT_EQ(ScaleForDpi(6, 144), 9);
  EXPECT_EQ(ScaleForDpi(25, 144), 38);  // 37.5
  EXPECT_EQ(ScaleForDpi(-25, 144), -38);
  EXPECT_EQ(ScaleForDpi(391, 96), 391);
}

}  // namespace
}  // namespace vardo
