// Pin layer rules: where the handle sits, how images are numbered,
// collapsed, expanded, dragged and highlighted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pinned/pin_model.h"

namespace vardo::pin {
namespace {

TEST(HandlePlacement, SitsFiveHundredTwipsFromTheTopRightAtEachDpi) {
  struct Case {
    int dpi, layer_width, handle, left, top;
  } cases[] = {
      {96, 1920, 36, 1920 - 36 - 33, 33},   // 500 twips = 33.3 px
      {144, 1920, 54, 1920 - 54 - 50, 50},  // 500 twips = 50 px
      {120, 1280, 45, 1280 - 45 - 42, 42},  // 41.7 px rounds to 42
  };
  for (const Case& c : cases) {
    Point p = HandlePosition(c.layer_width, c.handle, c.dpi);
    EXPECT_EQ(p, (Point{c.left, c.top})) << "dpi " << c.dpi;
  }
}

TEST(ScreenChange, HandleFollowsTheCornerUnlessMovedAndImagesStayReachable) {
  const Size big{3840, 2160}, small{1920, 1080};
  const int dpi = 96, side = 36;
  // At its start place the handle follows the top-right corner, both ways.
  Rect h{3840 - 36 - 33, 33, side, side};
  Point p = HandleAfterScreenChange(h, big, small, dpi);
  EXPECT_EQ(p, (Point{1920 - 36 - 33, 33}));
  EXPECT_EQ(HandleAfterScreenChange({p.x, p.y, side, side}, small, big, dpi), (Point{h.left, h.top}));
  // Dragged elsewhere it stays while wholly on the new screen...
  EXPECT_EQ(HandleAfterScreenChange({500, 400, side, side}, big, small, dpi), (Point{500, 400}));
  // ...and returns to the start place when any part of it would be off it.
  EXPECT_EQ(HandleAfterScreenChange({1900, 400, side, side}, big, small, dpi), (Point{1851, 33}));
  EXPECT_EQ(HandleAfterScreenChange({500, 1060, side, side}, big, small, dpi), (Point{1851, 33}));
  EXPECT_EQ(HandleAfterScreenChange({-10, 400, side, side}, small, small, dpi), (Point{1851, 33}));

  // An image with any part on the new screen stays; one wholly off it comes
  // back just inside the nearest edges.
  EXPECT_EQ(BoxAfterScreenChange({1900, 1000, 300, 200}, small), (Point{1900, 1000}));
  EXPECT_EQ(BoxAfterScreenChange({3000, 1500, 300, 200}, small), (Point{1620, 880}));
  EXPECT_EQ(BoxAfterScreenChange({2500, 100, 300, 200}, small), (Point{1620, 100}));
  EXPECT_EQ(BoxAfterScreenChange({-400, -300, 300, 200}, small), (Point{0, 0}));
  // Larger than the screen: its top-left corner on the screen.
  EXPECT_EQ(BoxAfterScreenChange({2000, 1200, 2500, 1500}, small), (Point{0, 0}));
}

TEST(ImageIndex, CountsFromOneAndNeverReusesAnIndex) {
  std::string imgnum = "1";
  EXPECT_EQ(TakeIndex(imgnum), 1);
  EXPECT_EQ(TakeIndex(imgnum), 2);
  EXPECT_EQ(imgnum, "3");
  EXPECT_EQ(CaptionFor(1), "1#");
  EXPECT_EQ(CaptionFor(27), "27#");
}

TEST(ImageIndex, RefusesWithoutHarmOnceTheRangeIsUsedUp) {
  std::string imgnum = "32767";
  EXPECT_EQ(TakeIndex(imgnum), 32767);
  EXPECT_EQ(TakeIndex(imgnum), std::nullopt);
  EXPECT_EQ(TakeIndex(imgnum), std::nullopt);
  EXPECT_EQ(imgnum, "32768");  // stays put, later adds keep failing cleanly
}

TEST(ImageIndex, RejectsTextThatIsNotAnIndex) {
  for (const char* bad : {"", "0", "-1", "1x", " 1", "32768", "99999999999"}) {
    EXPECT_EQ(ParseIndex(bad), std::nullopt) << bad;
    std::string field = bad;
    EXPECT_EQ(TakeIndex(field), std::nullopt) << bad;
    EXPECT_EQ(field, bad);
  }
  EXPECT_EQ(ParseIndex("12"), 12);
}

TEST(Centring, PutsTheBoxInTheMiddleOfTheScreen) {
  EXPECT_EQ(CentreOnScreen({1920, 1080}, {200, 100}), (Rect{860, 490, 200, 100}));
  EXPECT_EQ(CentreOnScreen({1920, 1080}, {201, 101}), (Rect{859, 489, 201, 101}));
  // Larger than the screen: starts above and left of the origin.
  EXPECT_EQ(CentreOnScreen({1920, 1080}, {2000, 1200}), (Rect{-40, -60, 2000, 1200}));
}

TEST(Highlight, FrameLiesJustOutsideTheImage) {
  EXPECT_EQ(HighlightFrame({100, 50, 20, 10}, 96), (Rect{99, 49, 22, 12}));
}

TEST(Highlight, BlinksRedYellowGreenThenStops) {
  EXPECT_EQ(BlinkAt(0).colour, 0x0000FFu);
  EXPECT_EQ(BlinkAt(1).colour, 0x00FFFFu);
  EXPECT_EQ(BlinkAt(2).colour, 0x00FF00u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(BlinkAt(i).show);
    EXPECT_FALSE(BlinkAt(i).stop);
  }
  EXPECT_FALSE(BlinkAt(3).show);
  EXPECT_TRUE(BlinkAt(3).stop);
}

TEST(Collapse, ShrinksToAThirtyPixelTileWithItsCaptionAbove) {
  PinGeometry g{{300, 200, 640, 480}, {640, 480}, "", false, {}, true};
  ToggleCollapse(g, 20, 96);
  EXPECT_EQ(g.box, (Rect{300, 200, 30, 30}));
  EXPECT_TRUE(IsCollapsed(g));
  EXPECT_TRUE(g.caption_visible);
  EXPECT_EQ(g.caption_pos, (Point{300, 180}));
  EXPECT_TRUE(g.tooltip);
}

TEST(Collapse, ClampsAnImageOffTheLeftEdgeButLeavesTheCaptionWhereItWas) {
  PinGeometry g{{-150, -40, 640, 480}, {640, 480}, "", false, {}, true};
  ToggleCollapse(g, 20, 96);
  EXPECT_EQ(g.box, (Rect{0, 0, 30, 30}));
  EXPECT_EQ(g.caption_pos, (Point{-150, -60}));
}

TEST(Collapse, ExpandingRestoresTheSizeAtTheSameCornerAndDropsTheHint) {
  PinGeometry g{{300, 200, 640, 480}, {640, 480}, "", false, {}, true};
  ToggleCollapse(g, 20, 144);
  EXPECT_EQ(g.box.width, 45);  // 450 twips at 144 DPI
  ToggleCollapse(g, 20, 144);
  EXPECT_EQ(g.box, (Rect{300, 200, 640, 480}));
  EXPECT_FALSE(IsCollapsed(g));
  EXPECT_EQ(g.marker, "2");
  EXPECT_FALSE(g.caption_visible);
  EXPECT_FALSE(g.tooltip);
  ToggleCollapse(g, 20, 96);  // "2" counts as expanded
  EXPECT_TRUE(IsCollapsed(g));
}

TEST(Dragging, MovesByThePointersOffsetFromTheGrabPoint) {
  EXPECT_EQ(DragStep({100, 100}, {15, 12}, {10, 10}), (Point{105, 102}));
  EXPECT_EQ(DragStep({0, 0}, {2, 3}, {10, 10}), (Point{-8, -7}));  // nothing clamps
  EXPECT_EQ(CaptionPosition({40, 70}, 23), (Point{40, 47}));
}

TEST(Caption, WidensToItsTextPlusAThousandTwips) {
  EXPECT_EQ(CaptionBoxSize({14, 14}, 96), (Size{14 + 67, 14 + 7}));
  EXPECT_EQ(CaptionBoxSize({21, 21}, 144), (Size{21 + 100, 21 + 10}));
}

TEST(DroppedFileType, LowerCasedTextAfterTheLastDotOfTheNameOnly) {
  const struct {
    const char* path;
    const char* type;
  } cases[] = {
      {"C:\\pics\\a.PNG", "png"},      {"C:\\pics\\a.b.JpG", "jpg"},
      {"C:\\pics.d\\noext", ""},       {"/tmp/x.y/plain", ""},
      {"C:\\pics\\trailing.", ""},     {"name.gif", "gif"},
      {"", ""},                          {"C:\\图片\\照片.Bmp", "bmp"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileTypeOf(c.path), c.type) << c.path;
}

TEST(HandleOverImages, RectanglesThatOnlyTouchDoNotOverlap) {
  const Rect handle{100, 50, 36, 36};
  EXPECT_TRUE(handle.Intersects({120, 70, 200, 100}));
  EXPECT_TRUE(handle.Intersects({0, 0, 1920, 1080}));      // an image all around it
  EXPECT_TRUE(handle.Intersects({110, 60, 5, 5}));         // a small one inside it
  EXPECT_FALSE(handle.Intersects({136, 50, 30, 30}));      // right edge touching
  EXPECT_FALSE(handle.Intersects({100, 20, 36, 30}));      // ends on its top edge
  EXPECT_FALSE(handle.Intersects({110, 60, 0, 10}));       // empty
}

}  // namespace
}  // namespace vardo::pin
