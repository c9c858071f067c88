// The ruler's measuring lines: axis snapping, layout, the length text,
// labels, commands and the index limit.
#include <gtest/gtest.h>

#include "ruler/lines.h"

namespace vardo::ruler {
namespace {

constexpr int kTick = 5;

// Labels are 8 pixels per character, 14 high.
LineBoard MakeBoard(int dpi = 96) {
  return LineBoard([](const std::string& t) { return Size{8 * static_cast<int>(t.size()), 14}; }, dpi, kTick);
}

// Press, a move the tick sees, the tick, a last move, release.
const MeasureLine& Draw(LineBoard& b, Point from, Point to) {
  EXPECT_TRUE(b.Begin(from));
  const int index = b.next_index();
  b.DragTo(to);
  b.Tick(to);
  b.DragTo(to);
  b.Finish();
  return *b.Find(index);
}

//   start +---------+ end        start +
//         |         |                  |--  (ticks across the ends)
//                                      |
//                                  end +--
TEST(RulerLayout, LinesSnapToTheAxisWithTicksAcrossBothEnds) {
  const Point s{100, 200};
  LineGeometry flat = LayoutLine(s, Point{300, 230}, Axis::kFlat, kTick);
  EXPECT_EQ(flat.end, (Point{300, 200}));
  EXPECT_EQ(flat.start_tick_a, (Point{100, 195}));
  EXPECT_EQ(flat.start_tick_b, (Point{100, 205}));
  EXPECT_EQ(flat.end_tick_a, (Point{300, 195}));
  EXPECT_EQ(flat.end_tick_b, (Point{300, 205}));
  EXPECT_EQ(flat.label, (Point{200, 200}));
  EXPECT_EQ(StrokeBounds(flat), (Rect{100, 195, 201, 11}));

  LineGeometry steep = LayoutLine(s, Point{90, 51}, Axis::kSteep, kTick);
  EXPECT_EQ(steep.end, (Point{100, 51}));
  EXPECT_EQ(steep.start_tick_a, (Point{95, 200}));
  EXPECT_EQ(steep.start_tick_b, (Point{105, 200}));
  EXPECT_EQ(steep.end_tick_a, (Point{95, 51}));
  EXPECT_EQ(steep.end_tick_b, (Point{105, 51}));
  EXPECT_EQ(steep.label, (Point{100, 125}));  // (200 + 51) / 2
}

TEST(RulerLength, CountsBothEndPixelsInPhysicalPixelsAtEveryDpi) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(LengthText(LengthTwips(Point{10, 5}, Point{110, 5}, dpi), dpi), "101px");
    EXPECT_EQ(LengthText(LengthTwips(Point{10, 5}, Point{10, 5}, dpi), dpi), "1px");
    EXPECT_EQ(LengthText(LengthTwips(Point{0, 900}, Point{0, 0}, dpi), dpi), "901px");
  }
  EXPECT_DOUBLE_EQ(LengthTwips(Point{10, 5}, Point{110, 5}, 96), 1500.0);
  EXPECT_DOUBLE_EQ(LengthTwips(Point{10, 5}, Point{110, 5}, 144), 1000.0);
  // Not rounded: up to 15 significant digits.
  EXPECT_EQ(LengthText(1505, 96), "101.333333333333px");
  EXPECT_EQ(LengthText(5, 144), "1.5px");
}

TEST(RulerAxis, TiesKeepTheCodeAndDragsAlongAnAxisTakeIt) {
  DirectionState s;
  UpdateAxis(5, 5, s);  // 45 degrees
  UpdateAxis(0, 0, s);
  EXPECT_EQ(s.axis, Axis::kNone);
  UpdateAxis(40, 0, s);
  EXPECT_EQ(s.axis, Axis::kFlat);
  UpdateAxis(-7, 7, s);
  UpdateAxis(0, 0, s);
  EXPECT_EQ(s.axis, Axis::kFlat);
  UpdateAxis(0, -3, s);
  EXPECT_EQ(s.axis, Axis::kSteep);
  UpdateAxis(30, 29, s);
  EXPECT_EQ(s.axis, Axis::kFlat);
  UpdateAxis(-29, -30, s);
  EXPECT_EQ(s.axis, Axis::kSteep);
}

TEST(RulerDrawing, TheTickSetsTheAxisAndTheLabelReadsTheLineAsDrawn) {
  LineBoard b = MakeBoard();
  ASSERT_TRUE(b.Begin(Point{100, 100}));
  // Before the first tick there is no axis: nothing is laid out.
  b.DragTo(Point{300, 130});
  EXPECT_FALSE(b.Find(1)->shown);
  b.Tick(Point{300, 130});
  const MeasureLine* l = b.Find(1);
  EXPECT_TRUE(l->shown);
  EXPECT_EQ(l->geometry.end, (Point{300, 100}));
  EXPECT_EQ(l->text, "201px");
  EXPECT_EQ(b.live_text(), "201px");
  EXPECT_EQ(l->label_size, (Size{40, 14}));
  // Turning steep flips the line at the tick, before any further move.
  b.Tick(Point{120, 400});
  EXPECT_EQ(b.Find(1)->geometry.end, (Point{100, 130}));
  b.DragTo(Point{120, 400});
  EXPECT_EQ(b.Find(1)->geometry.end, (Point{100, 400}));
  EXPECT_EQ(b.Find(1)->text, "301px");
  // Back to the start: a zero-length line reads "1px".
  b.DragTo(Point{100, 100});
  b.Tick(Point{100, 100});
  EXPECT_EQ(b.Find(1)->text, "1px");
  EXPECT_EQ(b.live_text(), "1px");
  b.Finish();
  EXPECT_EQ(b.next_index(), 2);
  // The next line starts with the axis the last one left.
  ASSERT_TRUE(b.Begin(Point{500, 500}));
  b.DragTo(Point{600, 510});
  EXPECT_EQ(b.Find(2)->geometry.end, (Point{500, 510}));
  b.Finish();
  // A press and release that was never laid out leaves nothing behind.
  ASSERT_TRUE(b.Begin(Point{700, 700}));
  b.Tick(Point{700, 700});
  b.Finish();
  EXPECT_EQ(b.Find(3), nullptr);
  EXPECT_EQ(b.lines().size(), 2u);
  EXPECT_EQ(b.next_index(), 4);
}

TEST(RulerLabels, DragHighlightsThenTakesTheCurrentColourAndCommandsNeedALine) {
  LineBoard b = MakeBoard();
  const MeasureLine& first = Draw(b, Point{100, 100}, Point{300, 110});
  ASSERT_EQ(first.geometry.label, (Point{200, 100}));
  Draw(b, Point{100, 300}, Point{110, 500});
  b.TakeDirty();
  // Nothing is active yet: commands do nothing, not even to new lines.
  b.SetColor(kBlack);
  b.Delete();
  EXPECT_EQ(b.color(), kRed);
  EXPECT_EQ(b.lines().size(), 2u);

  EXPECT_EQ(b.LabelAt(Point{205, 105}), 1);
  EXPECT_EQ(b.LabelAt(Point{199, 105}), 0);
  b.BeginLabelDrag(1, Point{205, 105});
  EXPECT_TRUE(b.Find(1)->highlighted);
  b.DragLabelTo(Point{405, 605});
  EXPECT_EQ(b.Find(1)->geometry.label, (Point{400, 600}));
  EXPECT_EQ(b.lines().back().index, 1);  // brought to the front
  // The picture changed where the label was and where it is now.
  const Rect dirty = b.TakeDirty();
  EXPECT_TRUE(dirty.Contains(Point{201, 101}));
  EXPECT_TRUE(dirty.Contains(Point{439, 613}));
  b.EndLabelDrag();
  EXPECT_FALSE(b.Find(1)->highlighted);

  // Colour commands act on the active line and on lines to come; the
  // moved label stays where it was put.
  b.SetColor(kBlack);
  EXPECT_EQ(b.Find(1)->color, kBlack);
  EXPECT_EQ(b.Find(1)->geometry.label, (Point{400, 600}));
  EXPECT_EQ(b.Find(2)->color, kRed);
  EXPECT_EQ(Draw(b, Point{800, 800}, Point{900, 790}).color, kBlack);
  // Releasing a label gives its line the current colour, whatever it had.
  b.ChooseForMenu(2);
  b.SetColor(kGreen);
  b.BeginLabelDrag(1, Point{401, 601});
  b.EndLabelDrag();
  EXPECT_EQ(b.Find(1)->color, kGreen);
  // Delete removes the active line only; repeating it does nothing.
  b.ChooseForMenu(2);
  b.Delete();
  EXPECT_EQ(b.Find(2), nullptr);
  b.SetColor(kYellow);
  b.Delete();
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
  const MeasureLine& last = Draw(b, Point{10, 50}, Point{20, 90});
  EXPECT_EQ(last.index, LineBoard::kMaxIndex);
  EXPECT_FALSE(b.Begin(Point{30, 30}));
  b.DragTo(Point{90, 30});
  b.Tick(Point{90, 30});
  b.Finish();
  ASSERT_EQ(b.lines().size(), 2u);
  EXPECT_EQ(b.Find(1)->geometry.end, first.geometry.end);
  EXPECT_EQ(b.Find(1)->text, first.text);
  EXPECT_EQ(b.next_index(), LineBoard::kMaxIndex + 1);
}

}  // namespace
}  // namespace vardo::ruler
