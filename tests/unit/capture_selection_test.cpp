// The overlay's selection state machine, driven with synthetic mouse events.
#include <gtest/gtest.h>

#include "capture/selection.h"

namespace vardo::capture {
namespace {

constexpr Size kScreen{1920, 1080};
constexpr Size kHandle{6, 6};

const std::vector<WinRect> kWindows = {
    {210, 210, 290, 240},  // a button
    {200, 200, 600, 500},  // its dialog
    {0, 0, 1920, 1080},    // the desktop
};

// Presses at `from`, sends `moves` move events ending at `to`, releases.
void DragWith(SelectionModel& m, Point from, Point to, int moves) {
  m.Press(Button::Left, from);
  for (int i = 1; i <= moves; ++i)
    m.Move(Point{from.x + (to.x - from.x) * i / moves, from.y + (to.y - from.y) * i / moves}, true);
  m.Release(Button::Left, to);
}

TEST(CaptureSelection, ClickWithoutDragFixesTheHighlightedWindow) {
  SelectionModel m(kScreen, kHandle);
  m.Detect(kWindows, {250, 220});
  EXPECT_EQ(m.selection(), (Rect{208, 208, 84, 34}));
  EXPECT_EQ(m.phase(), Phase::Detecting);
  // Up to six moves of tremor still count as a click.
  DragWith(m, {250, 220}, {256, 226}, 6);
  EXPECT_EQ(m.phase(), Phase::Selected);
  EXPECT_EQ(m.selection(), (Rect{208, 208, 84, 34}));
  EXPECT_EQ(m.border_width(), 1);
  EXPECT_EQ(m.handles()[0], (Rect{205, 205, 6, 6}));
}

TEST(CaptureSelection, AClickBeforeAnythingWasHighlightedFixesNothing) {
  // Detection goes on, then highlights and fixes as usual; a drag along a
  // line still fixes its empty selection.
  SelectionModel m(kScreen, kHandle);
  m.Press(Button::Left, {700, 700});
  Reaction r = m.Release(Button::Left, {700, 700});
  EXPECT_FALSE(r.fixed);
  EXPECT_TRUE(r.reset);
  EXPECT_EQ(m.phase(), Phase::Detecting);
  EXPECT_EQ(m.handles(), SelectionModel(kScreen, kHandle).handles()) << "handles stay parked";
  EXPECT_TRUE(m.Detect(kWindows, {250, 220}).redraw);
  DragWith(m, {250, 220}, {250, 220}, 0);
  EXPECT_EQ(m.phase(), Phase::Selected);
  EXPECT_EQ(m.selection(), (Rect{208, 208, 84, 34}));
  SelectionModel line(kScreen, kHandle);
  DragWith(line, {100, 100}, {100, 300}, 10);
  EXPECT_EQ(line.phase(), Phase::Selected);
  EXPECT_EQ(line.selection(), (Rect{100, 100, 0, 200}));
}

TEST(CaptureSelection, SeventhMoveStartsTheRubberBandAndStopsDetection) {
  SelectionModel m(kScreen, kHandle);
  m.Detect(kWindows, {250, 220});
  m.Press(Button::Left, {100, 100});
  for (int i = 1; i <= 6; ++i) {
    Reaction r = m.Move({100 + i, 100 + i}, true);
    EXPECT_FALSE(r.redraw);
    EXPECT_EQ(m.phase(), Phase::Pressed);
  }
  Reaction r = m.Move({150, 180}, true);
  EXPECT_TRUE(r.stop_detection);
  EXPECT_TRUE(r.redraw);
  EXPECT_EQ(m.phase(), Phase::Dragging);
  EXPECT_EQ(m.selection(), (Rect{100, 100, 50, 80}));
  // Detection no longer moves the outline while dragging.
  EXPECT_FALSE(m.Detect(kWindows, {250, 220}).redraw);
  EXPECT_FALSE(m.Move({160, 190}, true).stop_detection);
  r = m.Release(Button::Left, {160, 190});
  EXPECT_TRUE(r.fixed);
  EXPECT_EQ(m.selection(), (Rect{100, 100, 60, 90}));
}

TEST(CaptureSelection, ReleasePointEndsTheRubberBand) {
  // Moves merged away before the release still give the released rectangle;
  // a click (no drag) keeps the highlighted window whatever the release point.
  SelectionModel m(kScreen, kHandle);
  m.Press(Button::Left, {500, 500});
  for (int i = 1; i <= 8; ++i) m.Move({500 - 10 * i, 500}, true);
  m.Release(Button::Left, {300, 350});
  EXPECT_EQ(m.selection(), (Rect{300, 350, 200, 150}));
  SelectionModel n(kScreen, kHandle);
  n.Detect(kWindows, {250, 220});
  n.Press(Button::Left, {250, 220});
  n.Release(Button::Left, {900, 900});
  EXPECT_EQ(n.selection(), (Rect{208, 208, 84, 34}));
}

TEST(CaptureSelection, RubberBandWorksInEveryDirection) {
  struct Case {
    Point from, to;
    Rect expected;
  } cases[] = {
      {{300, 300}, {500, 400}, {300, 300, 200, 100}},  // down-right
      {{500, 400}, {300, 300}, {300, 300, 200, 100}},  // up-left
      {{500, 300}, {300, 400}, {300, 300, 200, 100}},  // down-left
      {{300, 400}, {500, 300}, {300, 300, 200, 100}},  // up-right
  };
  for (const Case& c : cases) {
    SelectionModel m(kScreen, kHandle);
    DragWith(m, c.from, c.to, 12);
    EXPECT_EQ(m.selection(), c.expected);
    EXPECT_TRUE(m.selected());
  }
}

TEST(CaptureSelection, MoveWithTheButtonUpForgetsTheTremorCount) {
  SelectionModel m(kScreen, kHandle);
  m.Press(Button::Left, {100, 100});
  for (int i = 0; i < 5; ++i) m.Move({101, 101}, true);
  m.Move({101, 101}, false);  // count back to zero
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(m.Move({120, 120}, true).redraw);
  EXPECT_TRUE(m.Move({120, 120}, true).redraw);
}

TEST(CaptureSelection, MovesWithoutOurOwnPressAreIgnored) {
  SelectionModel m(kScreen, kHandle);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(m.Move({300 + i, 300}, true).redraw);
  EXPECT_FALSE(m.Release(Button::Left, {310, 300}).fixed);
  EXPECT_EQ(m.phase(), Phase::Detecting);
}

TEST(CaptureSelection, NonLeftPressResetsFromEveryState) {
  for (int tool : {SelectionModel::kToolNone, 0, 4}) {
    SelectionModel m(kScreen, kHandle);
    DragWith(m, {300, 300}, {500, 400}, 12);
    m.SetToolMode(tool);
    Reaction r = m.Press(Button::Right, {10, 10});
    EXPECT_TRUE(r.reset);
    EXPECT_EQ(m.phase(), Phase::Detecting);
    EXPECT_EQ(m.tool_mode(), SelectionModel::kToolNone);
    EXPECT_EQ(m.border_width(), 4);
    for (const Rect& h : m.handles()) EXPECT_LE(h.bottom(), 0);
    // Detection works again.
    EXPECT_TRUE(m.Detect(kWindows, {250, 220}).redraw);
  }
  // Also while dragging.
  SelectionModel m(kScreen, kHandle);
  m.Press(Button::Left, {100, 100});
  for (int i = 1; i <= 8; ++i) m.Move({100 + 10 * i, 100}, true);
  EXPECT_TRUE(m.Press(Button::Middle, {5, 5}).reset);
  EXPECT_FALSE(m.Release(Button::Left, {180, 100}).fixed);
}

TEST(CaptureSelection, DraggingInsideCentresTheSelectionOnTheCursor) {
  SelectionModel m(kScreen, kHandle);
  DragWith(m, {300, 300}, {500, 400}, 12);
  m.Press(Button::Left, {400, 350});
  m.Move({1000, 700}, true);
  EXPECT_EQ(m.selection(), (Rect{900, 650, 200, 100}));
  EXPECT_EQ(m.handles()[7], (Rect{1097, 747, 6, 6}));
  m.Release(Button::Left, {1000, 700});
  EXPECT_EQ(m.phase(), Phase::Selected);
}

TEST(CaptureSelection, HandleDragResizesAndNeverFlips) {
  SelectionModel m(kScreen, kHandle);
  DragWith(m, {300, 300}, {500, 400}, 12);  // 300,300 200x100
  ASSERT_EQ(m.HandleAt({298, 350}), 3);
  m.Press(Button::Left, {298, 350});  // grab 1 px left of the handle's centre
  EXPECT_EQ(m.active_handle(), 3);
  m.Move({248, 380}, true);
  EXPECT_EQ(m.selection(), (Rect{250, 300, 250, 100}));
  m.Move({900, 380}, true);  // far past the right edge
  EXPECT_EQ(m.selection(), (Rect{500, 300, 0, 100}));
  m.Release(Button::Left, {900, 380});
  EXPECT_EQ(m.active_handle(), -1);

  // Bottom-right corner.
  SelectionModel n(kScreen, kHandle);
  DragWith(n, {300, 300}, {500, 400}, 12);
  n.Press(Button::Left, {500, 400});
  n.Move({640, 460}, true);
  EXPECT_EQ(n.selection(), (Rect{300, 300, 340, 160}));
  n.Move({100, 100}, true);
  EXPECT_EQ(n.selection(), (Rect{300, 300, 0, 0}));
}

TEST(CaptureSelection, HandlesAreInertWhileAToolIsActive) {
  SelectionModel m(kScreen, kHandle);
  DragWith(m, {300, 300}, {500, 400}, 12);
  m.SetToolMode(0);
  EXPECT_EQ(m.phase(), Phase::Annotating);
  m.Press(Button::Left, {300, 300});
  EXPECT_EQ(m.active_handle(), -1);
  EXPECT_FALSE(m.Move({100, 100}, true).redraw);
  EXPECT_EQ(m.selection(), (Rect{300, 300, 200, 100}));
}

TEST(CaptureSelection, DetectionStopsOnceSelected) {
  SelectionModel m(kScreen, kHandle);
  m.Detect(kWindows, {250, 220});
  DragWith(m, {250, 220}, {250, 220}, 0);
  EXPECT_FALSE(m.Detect(kWindows, {1000, 900}).redraw);
  EXPECT_EQ(m.selection(), (Rect{208, 208, 84, 34}));
  // Over nothing at all, detection leaves the outline alone.
  SelectionModel n(kScreen, kHandle);
  n.Detect(kWindows, {250, 220});
  EXPECT_FALSE(n.Detect({{0, 0, 10, 10}}, {500, 500}).redraw);
  EXPECT_EQ(n.selection(), (Rect{208, 208, 84, 34}));
}

}  // namespace
}  // namespace vardo::capture
