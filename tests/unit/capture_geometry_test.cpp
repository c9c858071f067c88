// Overlay geometry: handles, dragging, dimming bands, toolbar, magnifier,
// window detection.
#include <gtest/gtest.h>

#include "capture/geometry.h"

namespace vardo::capture {
namespace {

constexpr Size kScreen{1920, 1080};

TEST(CaptureHandles, SitCentredOnCornersAndEdgeMiddles) {
  // (100,50) +----1----+ (300)
  //          3         4
  //          5----6----7 (y 150)
  HandleRects h = PlaceHandles(Rect{100, 50, 200, 100}, Size{6, 6});
  const Point expected[kHandleCount] = {{97, 47},  {197, 47},  {297, 47},  {97, 97},
                                        {297, 97}, {97, 147}, {197, 147}, {297, 147}};
  for (int i = 0; i < kHandleCount; ++i) {
    EXPECT_EQ((Point{h[i].left, h[i].top}), expected[i]) << "handle " << i;
    EXPECT_EQ(h[i].width, 6);
    EXPECT_EQ(h[i].height, 6);
  }
}

TEST(CaptureHandles, OddSizesAtHigherDpiStillCentreOnTheEdge) {
  HandleRects h = PlaceHandles(Rect{100, 50, 200, 100}, Size{9, 9});
  EXPECT_EQ(h[0].left, 96);
  EXPECT_EQ(h[7].left + 9 / 2, 300);
  EXPECT_EQ(h[7].top + 9 / 2, 150);
  for (const Rect& r : ParkedHandles(Size{9, 9})) EXPECT_LE(r.bottom(), 0);
}

TEST(CaptureHandleDrag, EachHandleMovesOnlyItsOwnEdges) {
  const Rect sel{100, 100, 200, 100};  // right 300, bottom 200
  struct Case {
    int handle;
    Point centre;
    Rect expected;
  } cases[] = {
      {0, {90, 80}, {90, 80, 210, 120}},
      {1, {90, 80}, {100, 80, 200, 120}},
      {2, {320, 80}, {100, 80, 220, 120}},
      {3, {120, 999}, {120, 100, 180, 100}},
      {4, {350, 999}, {100, 100, 250, 100}},
      {5, {90, 230}, {90, 100, 210, 130}},
      {6, {999, 230}, {100, 100, 200, 130}},
      {7, {310, 210}, {100, 100, 210, 110}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DragHandle(sel, c.handle, c.centre, sel.right(), sel.bottom()), c.expected) << "handle " << c.handle;
}

TEST(CaptureHandleDrag, CrossingTheOppositeEdgeStopsAtZeroInsteadOfFlipping) {
  const Rect sel{100, 100, 200, 100};
  // Left handle dragged far past the right edge.
  EXPECT_EQ(DragHandle(sel, 3, {900, 150}, 300, 200), (Rect{300, 100, 0, 100}));
  // Right handle dragged past the left edge.
  EXPECT_EQ(DragHandle(sel, 4, {10, 150}, 300, 200), (Rect{100, 100, 0, 100}));
  // Top-left corner past both edges.
  EXPECT_EQ(DragHandle(sel, 0, {900, 900}, 300, 200), (Rect{300, 200, 0, 0}));
  // Bottom handle above the top.
  EXPECT_EQ(DragHandle(sel, 6, {150, 0}, 300, 200), (Rect{100, 100, 200, 0}));
}

TEST(CaptureHandleDrag, HandleFollowsTheCursorFromTheGrabPoint) {
  const Size hs{6, 6};
  const Point now{100, 100};
  // Grabbed 1 px right of the handle's left edge (the centre is at +3).
  EXPECT_EQ(HandleCentre(0, {150, 160}, {1, 1}, hs, now), (Point{152, 162}));
  // Middle handles move on one axis only.
  EXPECT_EQ(HandleCentre(1, {150, 160}, {3, 3}, hs, now), (Point{100, 160}));
  EXPECT_EQ(HandleCentre(6, {150, 160}, {3, 3}, hs, now), (Point{100, 160}));
  EXPECT_EQ(HandleCentre(3, {150, 160}, {3, 3}, hs, now), (Point{150, 100}));
  EXPECT_EQ(HandleCentre(4, {150, 160}, {3, 3}, hs, now), (Point{150, 100}));
}

TEST(CaptureMove, SelectionCentresOnTheCursorKeepingItsSize) {
  EXPECT_EQ(CentreOn(Rect{0, 0, 200, 100}, {500, 500}), (Rect{400, 450, 200, 100}));
  EXPECT_EQ(CentreOn(Rect{0, 0, 201, 101}, {0, 0}), (Rect{-100, -50, 201, 101}));
}

TEST(CaptureDimming, FourBandsSurroundTheSelection) {
  // +-----------------------+
  // |   |   top     |       |
  // | L |  [sel]    |   R   |
  // |   |  bottom   |       |
  // +-----------------------+
  auto bands = DimBands(Rect{100, 50, 200, 100}, kScreen);
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_EQ(bands[0], (Rect{0, 0, 100, 1080}));
  EXPECT_EQ(bands[1], (Rect{100, 0, 200, 50}));
  EXPECT_EQ(bands[2], (Rect{300, 0, 1620, 1080}));
  EXPECT_EQ(bands[3], (Rect{100, 150, 200, 930}));
}

TEST(CaptureDimming, BandsUseClampedEdgesAndDropEmptyOnes) {
  // A highlighted maximised window reaches 2 px past every screen edge.
  EXPECT_TRUE(DimBands(Rect{-2, -2, 1924, 1084}, kScreen).empty());
  // A selection moved partly off the left edge: only what is on screen
  // stays undimmed (0..50), not a shifted copy of its width.
  auto bands = DimBands(Rect{-50, 100, 100, 100}, kScreen);
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0], (Rect{0, 0, 50, 100}));
  EXPECT_EQ(bands[1], (Rect{50, 0, 1870, 1080}));
  EXPECT_EQ(bands[2], (Rect{0, 200, 50, 880}));
  // Entirely off screen: everything dimmed, nothing negative.
  bands = DimBands(Rect{3000, 2000, 10, 10}, kScreen);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0], (Rect{0, 0, 1920, 1080}));
}

TEST(CaptureToolbar, PlacementRules) {
  const Size tb{225, 113};
  struct Case {
    const char* what;
    Rect sel;
    Point expected;
  } cases[] = {
      {"room above: above, right-aligned", {500, 400, 300, 200}, {575, 282}},
      {"near the top with room below: below", {500, 50, 300, 200}, {575, 255}},
      {"whole screen: inside along the top", {0, 0, 1920, 1080}, {1695, 0}},
      {"highlighted desktop (grown by 2)", {-2, -2, 1924, 1084}, {1697, -2}},
      {"3 px below the top, no room below: inside", {100, 3, 400, 1000}, {275, 3}},
      {"3 px below the top, room below: below", {100, 3, 400, 100}, {275, 108}},
      // T + 5 > TH is the test, so the toolbar may poke above the screen.
      {"just enough above", {100, 109, 400, 100}, {275, -9}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceToolbar(c.sel, tb, 1080), c.expected) << c.what;
  // Scaled toolbar at 144 DPI.
  EXPECT_EQ(PlaceToolbar(Rect{0, 3, 400, 100}, Size{338, 170}, 1080), (Point{62, 108}));
}

TEST(CaptureDimming, OnlyThePartsWhoseDimmingFlipsAreRedrawn) {
  // Every pixel of a small surface: covered once exactly where it is
  // undimmed in one selection and not in the other.
  const Size s{40, 30};
  const struct {
    Rect before, after;
  } cases[] = {
      {{5, 5, 10, 10}, {5, 5, 10, 10}},     // unchanged: nothing
      {{5, 5, 10, 10}, {5, 5, 14, 10}},     // the rubber band grows right
      {{5, 5, 10, 10}, {9, 8, 10, 10}},     // moved: two L shapes
      {{0, 0, 0, 0}, {3, 4, 20, 10}},       // the first selection
      {{3, 4, 20, 10}, {10, 6, 0, 12}},     // to a zero-width one
      {{-2, -2, 44, 34}, {30, 20, 20, 20}}, // a highlight past the edges, then off the corner
      {{2, 2, 5, 5}, {20, 20, 5, 5}},       // apart
  };
  for (const auto& c : cases) {
    const std::vector<Rect> parts = DimChange(c.before, c.after, s);
    const Rect a = UndimmedArea(c.before, s), b = UndimmedArea(c.after, s);
    int wrong = 0;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        int covered = 0;
        for (const Rect& r : parts) covered += r.Contains({x, y});
        const bool flips = a.Contains({x, y}) != b.Contains({x, y});
        wrong += covered != (flips ? 1 : 0);
      }
    EXPECT_EQ(wrong, 0) << c.after.left << "," << c.after.top;
    // Each part is wholly inside or wholly outside the new selection.
    for (const Rect& r : parts) {
      EXPECT_FALSE(r.Empty());
      EXPECT_EQ(b.Contains({r.left, r.top}), b.Contains({r.right() - 1, r.bottom() - 1}));
    }
  }
  // Growing right by 4 is one strip of 4 columns.
  EXPECT_EQ(DimChange({5, 5, 10, 10}, {5, 5, 14, 10}, s), (std::vector<Rect>{{15, 5, 4, 10}}));
}

TEST(CaptureOutline, StripsStayInsideAndThinSelectionsDoNotTurnInsideOut) {
  const auto strips = OutlineStrips(Rect{100, 50, 200, 100}, 4);
  EXPECT_EQ(strips[0], (Rect{100, 50, 200, 4}));
  EXPECT_EQ(strips[1], (Rect{100, 146, 200, 4}));
  EXPECT_EQ(strips[2], (Rect{100, 50, 4, 100}));
  EXPECT_EQ(strips[3], (Rect{296, 50, 4, 100}));
  // Zero width: a one-pixel column, never a strip left of the selection.
  for (const Rect& r : OutlineStrips(Rect{100, 50, 0, 100}, 4)) {
    EXPECT_GE(r.left, 100);
    EXPECT_GE(r.top, 50);
    EXPECT_LE(r.bottom(), 154);
  }
  EXPECT_EQ(OutlineStrips(Rect{100, 50, 0, 100}, 1)[2], (Rect{100, 50, 1, 100}));
}

TEST(CaptureMagnifier, FlipsOnlyWhenItWouldNotFit) {
  const Size va{130, 161};
  EXPECT_EQ(PlaceMagnifier({100, 100}, va, kScreen), (Point{120, 120}));
  EXPECT_EQ(PlaceMagnifier({1910, 100}, va, kScreen), (Point{1760, 120}));
  // The boundary: x = 1920 - 130 + 20 still goes right (overhangs).
  EXPECT_EQ(PlaceMagnifier({1810, 939}, va, kScreen), (Point{1830, 959}));
  EXPECT_EQ(PlaceMagnifier({1811, 940}, va, kScreen), (Point{1661, 759}));
}

TEST(CaptureDetection, FirstMatchWinsWithInclusiveEdges) {
  const std::vector<WinRect> rects = {
      {110, 110, 150, 130},   // a button inside the dialog
      {100, 100, 400, 300},   // the dialog
      {0, 0, 1920, 1080},     // the desktop
  };
  struct Case {
    Point p;
    std::optional<size_t> k;
  } cases[] = {{{120, 120}, 0}, {{150, 130}, 0}, {{151, 130}, 1}, {{400, 300}, 1},
               {{401, 300}, 2}, {{1920, 1080}, 2}, {{1921, 5}, std::nullopt}, {{-1, 5}, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(FindCandidate(rects, c.p), c.k) << c.p.x << "," << c.p.y;
  EXPECT_FALSE(FindCandidate({}, {5, 5}).has_value());
}

TEST(CaptureDetection, HighlightGrowsTheWindowBy2) {
  EXPECT_EQ(HighlightFor(WinRect{100, 100, 400, 300}), (Rect{98, 98, 304, 204}));
  EXPECT_EQ(HighlightFor(WinRect{0, 0, 1920, 1080}), (Rect{-2, -2, 1924, 1084}));
}

}  // namespace
}  // namespace vardo::capture
