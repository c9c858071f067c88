// The toolbar's custom controls: the value slider's rules and drawing
// geometry, and where the centred text control puts its text.
#include <gtest/gtest.h>

#include "controls/center_text.h"
#include "controls/value_slider.h"

namespace vardo::controls {
namespace {

TEST(ValueSlider, ClampsAtZeroAndMaxAndRoundsHalvesToEven) {
  const struct {
    float in, max;
    bool over;
    float out;
  } cases[] = {
      {-3, 100, false, 0},     {-0.4f, 100, false, 0}, {42.5f, 100, false, 42}, {43.5f, 100, false, 44},
      {2.5f, 100, false, 2},   {3.5f, 100, false, 4},  {42.4f, 100, false, 42}, {42.6f, 100, false, 43},
      {100, 100, false, 100},  {130, 100, false, 100}, {99.5f, 100, false, 100},
      // Max itself is taken exactly, even when it is not whole.
      {260, 255.5f, false, 255.5f},
      // OverMaxable: beyond Max, still made whole.
      {130.5f, 100, true, 130}, {131.5f, 100, true, 132},
  };
  for (const auto& c : cases) EXPECT_EQ(SliderValue(c.in, c.max, c.over), c.out) << c.in << " of " << c.max;
}

TEST(ValueSlider, TheWidthSpansTheRangeAndTheThumbIsTwentyUnits) {
  // 130 px for 0..100: a pointer position is a value; off the ends it is
  // beyond the range (and then clamps).
  EXPECT_FLOAT_EQ(ValueAtPixel(0, 130, 100), 0);
  EXPECT_FLOAT_EQ(ValueAtPixel(65, 130, 100), 50);
  EXPECT_FLOAT_EQ(ValueAtPixel(130, 130, 100), 100);
  EXPECT_EQ(SliderValue(ValueAtPixel(-20, 130, 100), 100, false), 0);
  EXPECT_EQ(SliderValue(ValueAtPixel(400, 130, 100), 100, false), 100);
  EXPECT_FLOAT_EQ(ValueAtPixel(10, 0, 100), 0);

  const Size inner{130, 12};
  EXPECT_EQ(TrackRect(inner), (Rect{0, 4, 130, 3}));
  EXPECT_EQ(ThumbRect(inner, 100, 50), (Rect{52, 0, 26, 12}));  // 20/100 of 130, centred on 65
  EXPECT_EQ(ThumbRect(inner, 255, 255).left, 125);               // half of it beyond the right end
  EXPECT_EQ(ThumbRect(inner, 100, 0).left, -13);
  EXPECT_TRUE(ThumbRect(inner, 0, 5).Empty());                   // no range: no thumb, no division by zero
  // The paired box shows whole values without a fraction.
  EXPECT_EQ(ValueText(255), "255");
  EXPECT_EQ(ValueText(2.5f), "2.5");
}

TEST(CenterText, TheLabelStaysCentredAndOverhangsEvenly) {
  EXPECT_EQ(CentreLabel({34, 15}, {24, 13}), (Point{5, 1}));
  EXPECT_EQ(CentreLabel({34, 15}, {25, 12}), (Point{4, 1}));
  // A caption longer than the control hangs out on both sides.
  EXPECT_EQ(CentreLabel({34, 15}, {60, 13}), (Point{-13, 1}));
  EXPECT_EQ(CentreLabel({34, 15}, {61, 13}), (Point{-14, 1}));
}

}  // namespace
}  // namespace vardo::controls
