// Colour notations of the picker: readouts, labels and clipboard texts.
#include <gtest/gtest.h>

#include "colorpick/notation.h"

namespace vardo::colorpick {
namespace {

TEST(ColourNotation, ComponentsFromTheColourValue) {
  Rgb c = SplitColor(0x00FF800Au);  // blue 255, green 128, red 10
  EXPECT_EQ(c.r, 10);
  EXPECT_EQ(c.g, 128);
  EXPECT_EQ(c.b, 255);
  EXPECT_EQ(MakeColor(10, 128, 255), 0x00FF800Au);
}

TEST(ColourNotation, ReadoutsOfKnownColours) {
  struct Case {
    int r, g, b;
    const char* hex;
    const char* rgb;
  } cases[] = {
      {255, 0, 0, "HEX: #FF0000", "RGB: 255,0,0"},   {0, 0, 0, "HEX: #000000", "RGB: 0,0,0"},
      {255, 255, 255, "HEX: #FFFFFF", "RGB: 255,255,255"}, {10, 0, 255, "HEX: #0A00FF", "RGB: 10,0,255"},
      {1, 15, 16, "HEX: #010F10", "RGB: 1,15,16"},   {255, 128, 0, "HEX: #FF8000", "RGB: 255,128,0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HexReadout(MakeColor(c.r, c.g, c.b)), c.hex);
    EXPECT_EQ(RgbReadout(MakeColor(c.r, c.g, c.b)), c.rgb);
  }
}

TEST(ColourNotation, SmallComponentsKeepTwoDigits) {
  for (int v = 0; v <= 15; ++v) {
    const std::string h = Hex2(v);
    ASSERT_EQ(h.size(), 2u) << v;
    EXPECT_EQ(h[0], '0');
  }
  EXPECT_EQ(Hex2(10), "0A");
  EXPECT_EQ(Hex2(255), "FF");
  EXPECT_EQ(HexCode(MakeColor(1, 2, 3)), "#010203");
}

TEST(ColourNotation, ClipboardTextsOfEachCopyCommand) {
  const std::string hex = HexReadout(MakeColor(255, 255, 255));
  const std::string rgb = RgbReadout(MakeColor(255, 255, 255));
  EXPECT_EQ(EnterKeyText(hex), "#FFFFFF");
  EXPECT_EQ(HexClickText(hex), "FFFFFF");
  EXPECT_EQ(ShiftKeyText(rgb), "255,255,255");
  EXPECT_EQ(RgbClickText(rgb), "255,255,255");
  // The empty readouts give empty texts, never garbage.
  EXPECT_EQ(EnterKeyText(kHexReadoutEmpty), "");
  EXPECT_EQ(HexClickText(kHexReadoutEmpty), "");
}

TEST(ColourNotation, LabelSwitchesBetweenNotations) {
  LabelTexts red = NewLabelTexts(MakeColor(255, 0, 0));
  EXPECT_EQ(red.text, "#FF0000");
  EXPECT_EQ(red.tooltip, "255,0,0");
  LabelTexts dec = ToDecimal(red);
  EXPECT_EQ(dec.text, "255,0,0");
  EXPECT_EQ(dec.tooltip, "#FF0000");
  // Asking for the notation already shown changes nothing.
  EXPECT_EQ(ToDecimal(dec).text, "255,0,0");
  EXPECT_EQ(ToHexadecimal(red).text, "#FF0000");
  EXPECT_EQ(ToHexadecimal(dec).text, "#FF0000");
  EXPECT_EQ(ToHexadecimal(dec).tooltip, "255,0,0");
}

}  // namespace
}  // namespace vardo::colorpick
