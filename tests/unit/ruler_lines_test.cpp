// The ruler's measuring lines: axis snapping, layout, the length text,
// labels, commands and the index limit.
#include <gtest/gtest.h>

#include "ruler/lines.h"

namespace vardo::ruler {
namespace {

// Labels 8 pixels per character, 14 high; ticks 5 pixels each side.
LineBoard MakeBoard() {
  return LineBoard([](const std::string& t) { return Size{8 * static_cast<int>(t.size()), 14}; }, 96, 5);
}

// Press, a move, the tick, release.
const MeasureLine& Draw(LineBoard& b, Point from, Point to) {
  EXPECT_TRUE(b.Begin(from));
  const int index = b.next_index();
  b.DragTo(to);
  b.Tick(to);
  b.Finish();
  return *b.Find(index);
}

TEST(RulerLength, CountsBothEndPixelsInPhysicalPixelsAtEveryDpi) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    EXPECT_EQ(LengthText(LengthTwips(Point{10, 5}, Point{110, 5}, dpi), dpi), "101px") << dpi;
    EXPECT_EQ(LengthText(LengthTwips(Point{10, 5}, Point{10, 5}, dpi), dpi), "1px") << dpi;
  }
  EXPECT_DOUBLE_EQ(LengthTwips(Point{0, 900}, Point{0, 0}, 144), 9000.0);
  EXPECT_EQ(LengthText(1505, 96), "101.333333333333px");  // not rounded: 15 digits
}

//  start +----------+ end      ticks across both ends, label corner at the
//        |  label   |          middle; steep lines run down the start's x
TEST(RulerDrawing, TheTickSetsTheAxisWithItsTiesAndTheLineSnapsToIt) {
  LineBoard b = MakeBoard();
  ASSERT_TRUE(b.Begin(Point{100, 100}));
  // Exactly 45 degrees and no movement set no axis: nothing is laid out.
  b.DragTo(Point{130, 130});
  b.Tick(Point{130, 130});
  b.Tick(Point{100, 100});
  EXPECT_FALSE(b.Find(1)->shown);
  EXPECT_EQ(b.live_text(), "1px");
  // Kept exactly level, the drag measures level.
  b.DragTo(Point{300, 100});
  b.Tick(Point{300, 100});
  const LineGeometry& g = b.Find(1)->geometry;
  EXPECT_EQ(g.end, (Point{300, 100}));
  EXPECT_TRUE(g.start_tick_a == (Point{100, 95}) && g.start_tick_b == (Point{100, 105}));
  EXPECT_TRUE(g.end_tick_a == (Point{300, 95}) && g.end_tick_b == (Point{300, 105}));
  EXPECT_EQ(g.label, (Point{200, 100}));
  EXPECT_EQ(b.Find(1)->text, "201px");
  EXPECT_EQ(LineBoard::Bounds(*b.Find(1)), (Rect{100, 95, 201, 19}));  // label 40 x 14 at (200, 100)
  // A tie keeps the axis; turning steep flips the line at the tick.
  b.Tick(Point{150, 150});
  EXPECT_EQ(b.axis(), Axis::kFlat);
  b.Tick(Point{120, 400});
  b.DragTo(Point{90, 351});
  EXPECT_EQ(g.end, (Point{100, 351}));
  EXPECT_TRUE(g.start_tick_a == (Point{95, 100}) && g.end_tick_b == (Point{105, 351}));
  EXPECT_EQ(g.label, (Point{100, 225}));
  EXPECT_EQ(b.Find(1)->text, "252px");
  EXPECT_EQ(b.live_text(), "252px");
  b.Finish();
  // The next line starts with the axis the last one left; a press and
  // release never laid out leaves nothing.
  ASSERT_TRUE(b.Begin(Point{500, 500}));
  b.DragTo(Point{600, 510});
  EXPECT_EQ(b.Find(2)->geometry.end, (Point{500, 510}));
  b.Finish();
  ASSERT_TRUE(b.Begin(Point{700, 700}));
  b.Finish();
  EXPECT_EQ(b.lines().size(), 2u);
  EXPECT_EQ(b.next_index(), 4);
}

TEST(RulerLabels, DragHighlightsThenTakesTheCurrentColourAndCommandsNeedALine) {
  LineBoard b = MakeBoard();
  Draw(b, Point{100, 100}, Point{300, 110});
  Draw(b, Point{100, 300}, Point{110, 500});
  b.SetColor(kBlack);  // nothing active yet
  b.Delete();
  EXPECT_EQ(b.color(), kRed);
  EXPECT_EQ(b.lines().size(), 2u);

  EXPECT_EQ(b.LabelAt(Point{199, 105}), 0);
  ASSERT_EQ(b.LabelAt(Point{205, 105}), 1);
  b.TakeDirty();
  b.BeginLabelDrag(1, Point{205, 105});
  EXPECT_TRUE(b.Find(1)->highlighted);
  b.DragLabelTo(Point{405, 605});
  EXPECT_EQ(b.Find(1)->geometry.label, (Point{400, 600}));
  EXPECT_EQ(b.lines().back().index, 1);  // in front
  const Rect dirty = b.TakeDirty();      // where it was and where it is
  EXPECT_TRUE(dirty.Contains(Point{201, 101}) && dirty.Contains(Point{439, 613}));
  b.EndLabelDrag();
  EXPECT_FALSE(b.Find(1)->highlighted);

  // Colours go to the active line and to lines to come.
  b.SetColor(kBlack);
  EXPECT_EQ(b.Find(1)->color, kBlack);
  EXPECT_EQ(b.Find(2)->color, kRed);
  EXPECT_EQ(Draw(b, Point{800, 800}, Point{900, 790}).color, kBlack);
  // A released label gives its line the current colour, whatever it had.
  b.ChooseForMenu(2);
  b.SetColor(kGreen);
  b.BeginLabelDrag(1, Point{401, 601});
  b.EndLabelDrag();
  EXPECT_EQ(b.Find(1)->color, kGreen);
  // Delete takes the active line only; after it the commands do nothing.
  b.ChooseForMenu(2);
  b.Delete();
  b.SetColor(kYellow);
  b.Delete();
  EXPECT_EQ(b.Find(2), nullptr);
  EXPECT_EQ(b.color(), kGreen);
  EXPECT_EQ(b.lines().size(), 2u);
}

TEST(RulerIndices, StopAtTheLastIndexWithoutHarmToExistingLines) {
  LineBoard b = MakeBoard();
  const MeasureLine first = Draw(b, Point{10, 10}, Point{60, 12});
  while (b.next_index() < LineBoard::kMaxIndex) {
    ASSERT_TRUE(b.Begin(Point{5, 5}));
    b.Finish();
  }
  EXPECT_EQ(Draw(b, Point{10, 50}, Point{20, 90}).index, LineBoard::kMaxIndex);
  EXPECT_FALSE(b.Begin(Point{30, 30}));
  b.DragTo(Point{90, 30});
  b.Finish();
  ASSERT_EQ(b.lines().size(), 2u);
  EXPECT_EQ(b.Find(1)->geometry.end, first.geometry.end);
  EXPECT_EQ(b.Find(1)->text, first.text);
}

}  // namespace
}  // namespace vardo::ruler
