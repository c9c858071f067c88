// The toolbar and the outputs: the bands laid out at 96 and 144 DPI, the
// palette, each slider's box, what an output takes and which files a save
// writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/output.h"
#include "capture/picture_save.h"
#include "capture/tool_style.h"
#include "capture/toolbar_layout.h"

namespace vardo::capture {
namespace {

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right() <= outer.right() &&
         inner.bottom() <= outer.bottom();
}

TEST(CaptureToolbarLayout, EveryControlSitsInItsBandWithoutOverlapAtBothDpis) {
  for (int dpi : {96, 144}) {
    const ToolbarLayout t = LayoutToolbar(dpi);
    const Rect panel{0, 0, t.panel.width, t.panel.height};
    // The bands stack from the top and fill the panel.
    EXPECT_EQ(t.top_band.top, 0);
    EXPECT_EQ(t.ops_band.top, t.top_band.bottom());
    EXPECT_EQ(t.bottom_band.top, t.ops_band.bottom());
    EXPECT_EQ(t.bottom_band.bottom(), t.panel.height);
    struct Item {
      const char* name;
      Rect r;
      const Rect* band;
    };
    std::vector<Item> items = {
        {"separator", t.separator, &t.top_band}, {"cn", t.cn, &t.ops_band},
        {"MoreC", t.more_c, &t.ops_band},        {"Sets", t.sets, &t.ops_band},
        {"粗细", t.wid_label, &t.bottom_band},   {"svWid", t.sv_wid, &t.bottom_band},
        {"txtWid", t.txt_wid, &t.bottom_band},   {"亮度", t.alp_label, &t.bottom_band},
        {"svAlp", t.sv_alp, &t.bottom_band},     {"txtAlp", t.txt_alp, &t.bottom_band},
    };
    for (const Rect& r : t.tools) items.push_back({"tool", r, &t.top_band});
    for (const Rect& r : t.cols) items.push_back({"swatch", r, &t.ops_band});
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_TRUE(Inside(items[i].r, *items[i].band)) << dpi << " " << items[i].name << " " << i;
      for (size_t j = i + 1; j < items.size(); ++j)
        EXPECT_FALSE(items[i].r.Intersects(items[j].r)) << dpi << " " << items[i].name << " / " << items[j].name;
    }
    // The action buttons, 25 px high from the top (one pixel into Ops), in
    // a row after the separator; `Image1` and `savepic` share a column.
    const Rect actions[] = {t.pinimg, t.image1, t.savepic, t.exi};
    EXPECT_GT(actions[0].left, t.separator.right());
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_TRUE(Inside(actions[i], panel)) << dpi << " action " << i;
      for (const Item& item : items) {
        if (item.band != &t.top_band) {
          EXPECT_FALSE(actions[i].Intersects(item.r)) << dpi << " " << item.name;
        }
      }
      if (i > 0) {
        EXPECT_LE(actions[i - 1].right() - actions[i].left, 1) << dpi << " action " << i;
      }
    }
  }
  // Swatch 2k on the top row of Ops, 2k + 1 below it; at 144 DPI each
  // place and size scaled on its own.
  const ToolbarLayout t = LayoutToolbar(96);
  EXPECT_EQ(t.cols[1], (Rect{40, 44, 13, 13}));
  EXPECT_EQ(t.cols[17], (Rect{168, 44, 13, 13}));
  const ToolbarLayout b = LayoutToolbar(144);
  EXPECT_EQ(b.panel, (Size{338, 170}));
  EXPECT_EQ(b.exi, (Rect{296, 0, 38, 38}));
  EXPECT_EQ(b.cols[2], (Rect{84, 42, 20, 20}));
}

TEST(CaptureToolbarLayout, ToolMarkersAreTwentyPixelSquaresCentredOnTheirButtons) {
  for (int dpi : {96, 144}) {
    const ToolbarLayout t = LayoutToolbar(dpi);
    for (size_t i = 0; i < t.tools.size(); ++i) {
      const Rect& b = t.tools[i];
      const Rect& m = t.tool_markers[i];
      EXPECT_EQ(m.width, dpi * 20 / 96);
      EXPECT_EQ(m.height, m.width);
      EXPECT_EQ(2 * m.left + m.width, 2 * b.left + b.width) << dpi << " " << i;
      EXPECT_EQ(2 * m.top + m.height, 2 * b.top + b.height) << dpi << " " << i;
      if (i > 0) {
        EXPECT_LE(t.tool_markers[i - 1].right(), m.left + 1) << dpi << " " << i;
      }
    }
    EXPECT_LT(t.tool_markers.back().right(), t.separator.left);
  }
  // The row: rectangle, ellipse, arrow, eraser, text.
  EXPECT_EQ(ToolRowOf(0), 0);
  EXPECT_EQ(ToolRowOf(3), 2);
  EXPECT_EQ(ToolRowOf(2), 4);
  EXPECT_FALSE(ToolRowOf(-1).has_value());
  EXPECT_FALSE(ToolRowOf(5).has_value());
}

TEST(CaptureToolbarLayout, TheSwatchUnderAPoint) {
  const ToolbarLayout t = LayoutToolbar(96);
  EXPECT_EQ(PaletteColour(18), 0u);
  EXPECT_EQ(SwatchAt(t, {40, 28}), 0);
  EXPECT_EQ(SwatchAt(t, {52, 56}), 1);
  EXPECT_EQ(SwatchAt(t, {180, 56}), 17);
  EXPECT_FALSE(SwatchAt(t, {53, 28}).has_value());  // the gap between columns
  EXPECT_FALSE(SwatchAt(t, {20, 40}).has_value());  // the current colour
}

TEST(CaptureToolStyle, EachSliderAndItsBoxFollowEachOther) {
  ToolStyle style;
  EXPECT_EQ(style.colour, 0x0000FFu);  // red
  EXPECT_EQ(style.width.box_text(), "5");
  EXPECT_EQ(style.alpha.box_text(), "255");
  EXPECT_EQ(style.AlphaByte(), 255);

  PairedValue& w = style.width;
  w.FromSlider(42);
  EXPECT_EQ(w.box_text(), "42");
  EXPECT_EQ(w.value(), 42);
  // A fractional width moves the slider by its rule but reaches the pen as typed.
  EXPECT_EQ(w.FromBox("2.5"), 2.0f);
  EXPECT_EQ(w.value(), 2.5f);
  EXPECT_EQ(w.box_text(), "2.5");
  EXPECT_EQ(w.FromBox(" 3.5 "), 4.0f);
  // Beyond the range: the slider and the value stop at the ends.
  EXPECT_EQ(w.FromBox("250"), 100.0f);
  EXPECT_EQ(w.value(), 100);
  EXPECT_EQ(w.FromBox("-4"), 0.0f);
  EXPECT_EQ(w.value(), 0);
  // Not a number: nothing changes.
  w.FromBox("7");
  for (const char* text : {"", " ", "abc", "2.5.1", "5px", "1e3", "-", ".", "٣"}) {
    EXPECT_FALSE(w.FromBox(text).has_value()) << text;
    EXPECT_EQ(w.value(), 7) << text;
    EXPECT_EQ(w.slider(), 7) << text;
  }
  // The pen's alpha is the integer part.
  style.alpha.FromBox("127.9");
  EXPECT_EQ(style.AlphaByte(), 127);
  EXPECT_EQ(ParseBoxNumber(".5"), 0.5);
  EXPECT_EQ(ParseBoxNumber("5."), 5.0);
  EXPECT_EQ(ParseBoxNumber("+12"), 12.0);
}

TEST(CaptureOutputArea, TheSelectionIsCutToTheScreenAndAnEmptyOneMakesNothing) {
  const Size screen{1920, 1080};
  EXPECT_EQ(OutputArea({100, 50, 300, 200}, screen), (Rect{100, 50, 300, 200}));
  // A highlighted maximised window or the desktop: 2 px past every edge.
  EXPECT_EQ(OutputArea({-2, -2, 1924, 1084}, screen), (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(OutputArea({1800, 1000, 300, 300}, screen), (Rect{1800, 1000, 120, 80}));
  EXPECT_FALSE(OutputArea({100, 50, 0, 200}, screen).has_value());
  EXPECT_FALSE(OutputArea({100, 50, 300, 0}, screen).has_value());
  EXPECT_FALSE(OutputArea({1920, 100, 50, 50}, screen).has_value());  // wholly off the screen
  EXPECT_FALSE(OutputArea({-60, 100, 50, 50}, screen).has_value());
}

TEST(SaveType, OnlyPngJpgGifAndBmpInAnyCaseWriteAFile) {
  const struct {
    const char* name;
    SaveType type;
  } cases[] = {
      {"C:\\out\\a.png", SaveType::kPng},   {"C:\\out\\A.JPG", SaveType::kJpeg},
      {"b.Gif", SaveType::kGif},             {"c.BMP", SaveType::kBmp},
      {"d.jpeg", SaveType::kNone},           {"e.tif", SaveType::kNone},
      {"f.tiff", SaveType::kNone},           {"C:\\out.png\\shot", SaveType::kNone},
      {"g.png.txt", SaveType::kNone},        {"h.txt.png", SaveType::kPng},
      {"", SaveType::kNone},                 {"C:/out/i.png", SaveType::kPng},
  };
  for (const auto& c : cases) EXPECT_EQ(SaveTypeFor(c.name), c.type) << c.name;
  EXPECT_NE(UnknownTypeMessage("shot.jpeg").find("shot.jpeg"), std::string::npos);
  EXPECT_NE(UnknownTypeMessage("x").find("BMP"), std::string::npos);
}

TEST(SaveType, FilterListsFourPairsEndingInTwoNuls) {
  const std::string list = SaveFilterList();
  std::vector<std::string> items;
  size_t start = 0;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == '\0') {
      items.push_back(list.substr(start, i - start));
      start = i + 1;
    }
  const std::vector<std::string> want = {"PNG文件(*.png)", "*.png", "JPEG文件(*.jpg)", "*.jpg",
                                         "GIF文件(*.gif)", "*.gif", "BMP文件(*.bmp)",  "*.bmp", ""};
  EXPECT_EQ(items, want);
  EXPECT_EQ(start, list.size());
}

}  // namespace
}  // namespace vardo::capture
