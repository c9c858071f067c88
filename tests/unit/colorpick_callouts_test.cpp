// Colour callouts: layout per octant and the commands on them.
#include <gtest/gtest.h>

#include "colorpick/callouts.h"

namespace vardo::colorpick {
namespace {

constexpr Size kSwatch{9, 9};
constexpr Size kLabel{50, 15};
constexpr int kRaise = 3;

//          pointer (flat, right): P = pointer
//   start  *
//     \                      swatch at (P.x, P.y-4), label beyond it
//      \______________ P
TEST(CalloutLayout, FlatRightOctantsRunAlongToThePointer) {
  const Point s{100, 100};
  CalloutGeometry g = LayoutCallout(s, Point{200, 130}, 1, kSwatch, kLabel, kRaise);
  EXPECT_EQ(g.diag_end, (Point{130, 130}));
  EXPECT_TRUE(g.flat_shown);
  EXPECT_EQ(g.flat_end, (Point{200, 130}));
  EXPECT_EQ(g.swatch, (Point{200, 126}));
  EXPECT_EQ(g.label, (Point{209, 130 - 7 - kRaise}));

  g = LayoutCallout(s, Point{200, 70}, 8, kSwatch, kLabel, kRaise);
  EXPECT_EQ(g.diag_end, (Point{130, 70}));
  EXPECT_EQ(g.flat_end, (Point{200, 70}));
  EXPECT_EQ(g.label, (Point{209, 70 - 7 - kRaise}));
}

TEST(CalloutLayout, SteepOctantsEndOnTheDiagonal) {
  const Point s{100, 100};
  struct Case {
    int octant;
    Point pointer, end, swatch, label;
  } cases[] = {
      {2, {120, 160}, {160, 160}, {160, 156}, {169, 153}},
      {7, {120, 40}, {160, 40}, {160, 36}, {169, 33}},
      {3, {80, 160}, {40, 160}, {31, 156}, {-19, 153}},
      {6, {80, 40}, {40, 40}, {31, 36}, {-19, 33}},
  };
  for (const Case& c : cases) {
    CalloutGeometry g = LayoutCallout(s, c.pointer, c.octant, kSwatch, kLabel, kRaise);
    EXPECT_FALSE(g.flat_shown) << c.octant;
    EXPECT_EQ(g.diag_end, c.end) << c.octant;
    EXPECT_EQ(g.swatch, c.swatch) << c.octant;
    EXPECT_EQ(g.label, c.label) << c.octant;  // no raise off the flat octants
  }
}

TEST(CalloutLayout, FlatLeftOctantsPutSwatchAndLabelBeforeThePointer) {
  const Point s{100, 100};
  CalloutGeometry g = LayoutCallout(s, Point{20, 110}, 4, kSwatch, kLabel, kRaise);
  EXPECT_EQ(g.diag_end, (Point{90, 110}));
  EXPECT_EQ(g.flat_end, (Point{20, 110}));
  EXPECT_EQ(g.swatch, (Point{11, 106}));
  EXPECT_EQ(g.label, (Point{-39, 103}));
  g = LayoutCallout(s, Point{20, 90}, 5, kSwatch, kLabel, kRaise);
  EXPECT_EQ(g.diag_end, (Point{90, 90}));
  EXPECT_EQ(g.label, (Point{-39, 83}));
}

TEST(CalloutLayout, UnknownDirectionKeepsEverythingAtThePixel) {
  CalloutGeometry g = LayoutCallout(Point{50, 60}, Point{300, 10}, 0, kSwatch, kLabel, kRaise);
  EXPECT_EQ(g.diag_end, (Point{50, 60}));
  EXPECT_FALSE(g.flat_shown);
  EXPECT_EQ(g.swatch, (Point{50, 56}));
  EXPECT_EQ(g.label, (Point{59, 53}));
}

class CalloutBoardTest : public ::testing::Test {
 protected:
  // Labels are 8 px per character wide, 15 high.
  CalloutBoard board{[](const std::string& t) { return Size{static_cast<int>(t.size()) * 8, 15}; }, 9, 3};

  // Press at `at`, move to `to` with direction ticks in between, release.
  const Callout& Drop(Point at, Point to, ColorValue c = kBlue) {
    EXPECT_TRUE(board.Begin(at, c));
    board.DragTo(to);
    board.Tick();
    board.DragTo(to);
    const int index = board.next_index();
    board.Finish();
    return *board.Find(index);
  }
  Point LabelCentre(const Callout& c) {
    return Point{c.geometry.label.x + c.label_size.cx / 2, c.geometry.label.y + c.label_size.cy / 2};
  }
};

TEST_F(CalloutBoardTest, ADragLaysTheCalloutOutOnlyAfterADirectionTick) {
  ASSERT_TRUE(board.Begin(Point{100, 100}, MakeColor(255, 0, 0)));
  const Callout* c = board.Find(1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->texts.text, "#FF0000");
  EXPECT_EQ(c->texts.tooltip, "255,0,0");
  board.DragTo(Point{200, 120});
  EXPECT_EQ(c->geometry.diag_end, (Point{100, 100}));  // no tick yet
  EXPECT_TRUE(board.Tick());
  EXPECT_EQ(board.direction().octant, 1);
  EXPECT_EQ(c->geometry.diag_end, (Point{120, 120}));  // the tick lays it out at once
  board.DragTo(Point{220, 125});
  EXPECT_EQ(c->geometry.flat_end, (Point{220, 125}));
  board.Finish();
  EXPECT_EQ(board.next_index(), 2);
  // The next drag starts with the previous codes until its first tick.
  ASSERT_TRUE(board.Begin(Point{500, 500}, kGreen));
  board.DragTo(Point{400, 650});
  EXPECT_EQ(board.Find(2)->geometry.diag_end, (Point{650, 650}));
  board.Tick();
  EXPECT_EQ(board.direction().octant, 3);
  EXPECT_EQ(board.Find(2)->geometry.diag_end, (Point{350, 650}));
  board.Finish();

  // A callout made by a right (or middle) press: moves with only that
  // button held change the codes but not the layout; a left-button move
  // lays it out, and from then on the ticks follow too.
  ASSERT_TRUE(board.Begin(Point{300, 300}, kRed));
  const Callout* r = board.Find(3);
  ASSERT_NE(r, nullptr);
  const CalloutGeometry made = r->geometry;
  EXPECT_EQ(made.swatch, (Point{291, 296}));  // octant 3: left of the pixel
  board.NotePointer(Point{310, 330});
  EXPECT_FALSE(board.Tick());
  EXPECT_EQ(board.direction().octant, 2);
  EXPECT_EQ(r->geometry.swatch, made.swatch);
  EXPECT_EQ(r->geometry.label, made.label);
  board.DragTo(Point{320, 340});
  EXPECT_EQ(r->geometry.diag_end, (Point{340, 340}));
  board.NotePointer(Point{400, 350});
  EXPECT_TRUE(board.Tick());
  EXPECT_EQ(board.direction().octant, 1);
  EXPECT_EQ(r->geometry.flat_end, (Point{320, 340}));  // at the last left-button move
  board.Finish();
  // The next callout starts unmoved again.
  ASSERT_TRUE(board.Begin(Point{600, 600}, kRed));
  board.NotePointer(Point{500, 610});
  EXPECT_FALSE(board.Tick());
  EXPECT_EQ(board.direction().octant, 4);
  EXPECT_EQ(board.Find(4)->geometry.diag_end, (Point{600, 600}));
  EXPECT_EQ(board.Find(4)->geometry.swatch, (Point{600, 596}));  // still octant 1's side
}

TEST_F(CalloutBoardTest, NewCalloutsTakeTheCurrentStyle) {
  const Callout& first = Drop(Point{10, 10}, Point{60, 20});
  board.ChooseForMenu(first.index);
  board.SetLineColor(kYellow);
  board.SetBackground(kWhite);
  const Callout& second = Drop(Point{300, 300}, Point{350, 310});
  EXPECT_EQ(second.line_color, kYellow);
  EXPECT_EQ(second.text_color, kRed);  // the template's text colour
  EXPECT_EQ(second.background, kWhite);
  EXPECT_TRUE(second.opaque);
  board.ChooseForMenu(second.index);
  board.SetTransparent();
  EXPECT_FALSE(Drop(Point{500, 300}, Point{550, 310}).opaque);
}

TEST_F(CalloutBoardTest, MovingALabelHighlightsItsLinesThenLeavesThemRed) {
  const int index = Drop(Point{100, 100}, Point{200, 120}).index;
  board.ChooseForMenu(index);
  board.SetLineColor(kGreen);
  Drop(Point{700, 700}, Point{800, 720});
  const Callout* c = board.Find(index);
  const Point grab = LabelCentre(*c);
  ASSERT_EQ(board.LabelAt(grab), index);
  const CalloutGeometry before = c->geometry;
  board.BeginLabelDrag(index, grab);
  EXPECT_EQ(board.Find(index)->line_color, kBlue);
  board.DragLabelTo(Point{grab.x + 40, grab.y - 25});
  c = board.Find(index);
  EXPECT_EQ(c->geometry.label, (Point{before.label.x + 40, before.label.y - 25}));
  EXPECT_EQ(c->geometry.swatch, before.swatch);  // only the label moves
  EXPECT_EQ(c->geometry.diag_end, before.diag_end);
  EXPECT_EQ(board.callouts().back().index, index);  // brought to the front
  board.EndLabelDrag();
  EXPECT_EQ(board.Find(index)->line_color, kRed);
  EXPECT_EQ(board.Find(index)->text_color, kGreen);
}

TEST_F(CalloutBoardTest, MenuCommandsActOnTheChosenCalloutOnly) {
  const int a = Drop(Point{100, 100}, Point{200, 120}).index;
  const int b = Drop(Point{100, 400}, Point{200, 420}, kGreen).index;
  // Nothing chosen yet: every command is ignored.
  board.SetLineColor(kGreen);
  board.ShowDecimal();
  board.Delete();
  EXPECT_FALSE(board.ActiveText().has_value());
  EXPECT_EQ(board.callouts().size(), 2u);
  EXPECT_EQ(board.Find(a)->line_color, kRed);

  board.ChooseForMenu(a);
  board.ShowDecimal();
  EXPECT_EQ(board.Find(a)->texts.text, "0,0,255");
  EXPECT_EQ(board.Find(a)->label_size.cx, 7 * 8);  // re-measured
  EXPECT_EQ(*board.ActiveText(), "0,0,255");
  board.ChooseForMenu(a);
  board.ShowDecimal();  // already decimal: unchanged
  EXPECT_EQ(board.Find(a)->texts.text, "0,0,255");
  board.ShowHexadecimal();
  EXPECT_EQ(board.Find(a)->texts.text, "#0000FF");
  EXPECT_EQ(board.Find(b)->texts.text, "#00FF00");

  board.Delete();
  EXPECT_EQ(board.Find(a), nullptr);
  // The deleted callout is gone for every later command.
  board.SetLineColor(kYellow);
  board.ShowDecimal();
  board.Delete();
  EXPECT_FALSE(board.ActiveText().has_value());
  ASSERT_NE(board.Find(b), nullptr);
  EXPECT_EQ(board.Find(b)->line_color, kRed);
  EXPECT_EQ(board.Find(b)->texts.text, "#00FF00");
  // Indices are never reused.
  EXPECT_EQ(Drop(Point{5, 5}, Point{50, 9}).index, 3);
}

TEST_F(CalloutBoardTest, LabelAtFindsTheTopmostLabel) {
  const Callout& a = Drop(Point{100, 100}, Point{200, 120});
  const Point centre = LabelCentre(a);
  EXPECT_EQ(board.LabelAt(centre), a.index);
  EXPECT_EQ(board.LabelAt(Point{a.geometry.label.x - 1, centre.y}), 0);
  EXPECT_EQ(board.LabelAt(a.start), 0);
}

TEST_F(CalloutBoardTest, TheIndexLimitEndsCreationHarmlessly) {
  for (int i = 1; i <= CalloutBoard::kMaxIndex; ++i) {
    ASSERT_TRUE(board.Begin(Point{i % 1000, i % 700}, MakeColor(i & 0xFF, 0, 0)));
    board.Finish();
  }
  EXPECT_EQ(board.next_index(), CalloutBoard::kMaxIndex + 1);
  EXPECT_FALSE(board.Begin(Point{1, 1}, kRed));
  board.DragTo(Point{50, 50});
  board.Tick();
  board.Finish();
  EXPECT_EQ(board.next_index(), CalloutBoard::kMaxIndex + 1);
  EXPECT_EQ(board.callouts().size(), static_cast<size_t>(CalloutBoard::kMaxIndex));
  const Callout* last = board.Find(CalloutBoard::kMaxIndex);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->texts.text, HexCode(MakeColor(CalloutBoard::kMaxIndex & 0xFF, 0, 0)));
  board.ChooseForMenu(CalloutBoard::kMaxIndex);
  board.Delete();
  EXPECT_FALSE(board.Begin(Point{1, 1}, kRed));  // deleting frees no index
}

}  // namespace
}  // namespace vardo::colorpick
