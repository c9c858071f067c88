// The settings window's layout: every control inside the client area at
// every DPI, neighbours kept apart, and the window centred.
#include <gtest/gtest.h>

#include <set>

#include "shell/settings_layout.h"

namespace vardo::shell {
namespace {

TEST(SettingsLayout, EveryControlLiesWholeInsideTheClientAreaAtEachDpi) {
  for (int dpi : {96, 120, 144, 192}) {
    Box client = ScaleBox({0, 0, kSettingsClientWidth, kSettingsClientHeight}, dpi);
    for (const ControlSpec& c : SettingsControls()) {
      Box b = ScaleBox(c.at96, dpi);
      EXPECT_GE(b.left, 0) << c.caption << " @" << dpi;
      EXPECT_GE(b.top, 0) << c.caption << " @" << dpi;
      EXPECT_LE(b.right(), client.width) << c.caption << " @" << dpi;
      EXPECT_LE(b.bottom(), client.height) << c.caption << " @" << dpi;
    }
  }
}

TEST(SettingsLayout, ClientScalesToTheDpi) {
  EXPECT_EQ(ScaleBox({0, 0, kSettingsClientWidth, kSettingsClientHeight}, 96), (Box{0, 0, 391, 145}));
  EXPECT_EQ(ScaleBox({0, 0, kSettingsClientWidth, kSettingsClientHeight}, 144), (Box{0, 0, 587, 218}));
}

TEST(SettingsLayout, NoTwoControlsOverlapAtAnyDpi) {
  for (int dpi : {96, 120, 144, 168}) {
    const auto& all = SettingsControls();
    for (size_t i = 0; i < all.size(); ++i) {
      for (size_t j = i + 1; j < all.size(); ++j) {
        Box a = ScaleBox(all[i].at96, dpi), b = ScaleBox(all[j].at96, dpi);
        bool apart = a.right() <= b.left || b.right() <= a.left || a.bottom() <= b.top || b.bottom() <= a.top;
        EXPECT_TRUE(apart) << all[i].caption << " / " << all[j].caption << " @" << dpi;
      }
    }
  }
}

TEST(SettingsLayout, HotKeySlotSitsOnTheLabelRowBetweenLabelAndDefaultButton) {
  Box label = SpecOf(SettingsControl::Label1).at96;
  Box slot = SpecOf(SettingsControl::HotKey1).at96;
  Box def = SpecOf(SettingsControl::Command3).at96;
  EXPECT_EQ(slot.top, label.top);
  EXPECT_GT(slot.left, label.right());
  EXPECT_LT(slot.right(), def.left);
}

TEST(SettingsLayout, ControlsComeInTabOrderWithTheirCaptions) {
  const auto& all = SettingsControls();
  std::set<SettingsControl> seen;
  for (const auto& c : all) seen.insert(c.id);
  EXPECT_EQ(seen.size(), all.size());
  EXPECT_EQ(all[0].caption, "启用");
  EXPECT_EQ(all[1].caption, "保存");
  EXPECT_EQ(all[2].caption, "隐藏");
  EXPECT_EQ(all[3].caption, "默认热键为Print Screen");
  EXPECT_EQ(all[4].caption, "设置热键：");
}

TEST(SettingsLayout, CentresOnTheScreen) {
  EXPECT_EQ(CentreOnScreen(1920, 1080, 391, 145), (Box{764, 467, 391, 145}));
  EXPECT_EQ(CentreOnScreen(1920, 1080, 587, 218), (Box{666, 431, 587, 218}));
}

}  // namespace
}  // namespace vardo::shell
