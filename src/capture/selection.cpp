#include "capture/selection.h"

#include <cstdlib>

namespace vardo::capture {

SelectionModel::SelectionModel(Size surface_size, Size handle_px) : surface_(surface_size), handle_(handle_px) {
  handles_ = ParkedHandles(handle_);
}

Reaction SelectionModel::Reset() {
  selected_ = false;
  pressed_ = false;
  dragging_ = false;
  drag_count_ = 0;
  tool_mode_ = kToolNone;
  active_handle_ = -1;
  handles_ = ParkedHandles(handle_);
  Reaction r;
  r.reset = true;
  r.redraw = true;
  return r;
}

Phase SelectionModel::phase() const {
  if (selected_) return tool_mode_ == kToolNone ? Phase::Selected : Phase::Annotating;
  if (dragging_) return Phase::Dragging;
  return pressed_ ? Phase::Pressed : Phase::Detecting;
}

int SelectionModel::HandleAt(Point p) const {
  if (!selected_) return -1;
  for (int i = kHandleCount - 1; i >= 0; --i)
    if (handles_[i].Contains(p)) return i;
  return -1;
}

Reaction SelectionModel::Detect(const std::vector<WinRect>& candidates, Point cursor) {
  Reaction r;
  if (selected_ || dragging_) return r;
  auto k = FindCandidate(candidates, cursor);
  if (!k) return r;
  Rect next = HighlightFor(candidates[*k]);
  if (next != sqr_) {
    sqr_ = next;
    r.redraw = true;
  }
  return r;
}

Reaction SelectionModel::Press(Button button, Point p) {
  if (button != Button::Left) return Reset();
  Reaction r;
  r.capture_mouse = true;
  if (!selected_) {
    pressed_ = true;
    dragging_ = false;
    drag_count_ = 0;
    start_ = p;
    return r;
  }
  pressed_ = true;
  start_ = p;
  if (tool_mode_ != kToolNone) return r;
  // Handles only react while no tool is active.
  active_handle_ = HandleAt(p);
  if (active_handle_ >= 0) {
    const Rect& h = handles_[active_handle_];
    grab_ = Point{p.x - h.left, p.y - h.top};
    anchor_right_ = sqr_.right();
    anchor_bottom_ = sqr_.bottom();
  }
  return r;
}

Reaction SelectionModel::Move(Point p, bool left_down) {
  Reaction r;
  if (!left_down) {
    if (!selected_) drag_count_ = 0;
    return r;
  }
  if (!pressed_) return r;  // the press went to another control
  if (selected_) {
    if (tool_mode_ != kToolNone) return r;
    if (active_handle_ >= 0) {
      const Rect& h = handles_[active_handle_];
      Point now{h.left + handle_.width / 2, h.top + handle_.height / 2};
      Point c = HandleCentre(active_handle_, p, grab_, handle_, now);
      sqr_ = DragHandle(sqr_, active_handle_, c, anchor_right_, anchor_bottom_);
    } else {
      sqr_ = CentreOn(sqr_, p);
    }
    PlaceHandles();
    r.redraw = true;
    return r;
  }
  if (drag_count_ < kIgnoredMoves) {
    ++drag_count_;
    return r;
  }
  if (!dragging_) {
    dragging_ = true;
    r.stop_detection = true;
  }
  RubberBand(p);
  r.redraw = true;
  return r;
}

void SelectionModel::RubberBand(Point p) {
  sqr_.left = p.x >= start_.x ? start_.x : p.x;
  sqr_.width = std::abs(p.x - start_.x);
  sqr_.top = p.y >= start_.y ? start_.y : p.y;
  sqr_.height = std::abs(p.y - start_.y);
}

Reaction SelectionModel::Release(Button button, Point p) {
  Reaction r;
  if (button != Button::Left) return r;
  const bool was_pressed = pressed_;
  pressed_ = false;
  active_handle_ = -1;
  if (selected_ || !was_pressed) return r;
  // The release point ends the rubber band even when the last move events
  // were merged away.
  const bool dragged = dragging_;
  if (dragging_) RubberBand(p);
  dragging_ = false;
  drag_count_ = 0;
  // A click before any window was highlighted has nothing to fix: the empty
  // outline at the corner would show nothing, put the toolbar off the
  // screen and turn every later drag into moving an invisible point.
  // Detection goes on. (A drag along a line does fix its empty selection,
  // whose outputs then make nothing.)
  if (!dragged && (sqr_.width <= 0 || sqr_.height <= 0)) return Reset();
  selected_ = true;
  PlaceHandles();
  r.fixed = true;
  r.redraw = true;
  return r;
}

}  // namespace vardo::capture
