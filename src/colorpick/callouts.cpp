#include "colorpick/callouts.h"

#include <algorithm>
#include <cstdlib>

namespace vardo::colorpick {

CalloutGeometry LayoutCallout(Point start, Point pointer, int octant, Size swatch, Size label, int raise) {
  CalloutGeometry g;
  const bool left = OctantOnLeft(octant);
  Point p = start;
  g.diag_end = start;
  g.flat_end = start;
  if (octant >= 1 && octant <= 8) {
    const int run = std::abs(pointer.y - start.y);
    g.diag_end = Point{left ? start.x - run : start.x + run, pointer.y};
    if (OctantIsFlat(octant)) {
      g.flat_shown = true;
      g.flat_end = Point{pointer.x, g.diag_end.y};
      p = pointer;
    } else {
      p = g.diag_end;
    }
  }
  if (left) {
    g.swatch = Point{p.x - swatch.cx, p.y - swatch.cy / 2};
    g.label = Point{p.x - swatch.cx - label.cx, p.y - label.cy / 2};
  } else {
    g.swatch = Point{p.x, p.y - swatch.cy / 2};
    g.label = Point{p.x + swatch.cx, p.y - label.cy / 2};
    if (octant == 1 || octant == 8) g.label.y -= raise;
  }
  return g;
}

CalloutBoard::CalloutBoard(std::function<Size(const std::string&)> measure, int swatch, int raise)
    : measure_(std::move(measure)), swatch_(swatch), raise_(raise) {}

const Callout* CalloutBoard::Find(int index) const {
  if (index <= 0) return nullptr;
  for (const Callout& c : callouts_)
    if (c.index == index) return &c;
  return nullptr;
}

Callout* CalloutBoard::FindMutable(int index) { return const_cast<Callout*>(Find(index)); }

Callout* CalloutBoard::Newest() { return dragging_ ? FindMutable(next_index_) : nullptr; }

void CalloutBoard::Relayout(Callout& c) {
  c.geometry = LayoutCallout(c.start, drag_pointer_, direction_.octant, Size{swatch_, swatch_}, c.label_size, raise_);
}

bool CalloutBoard::Begin(Point at, ColorValue color) {
  if (dragging_) Finish();
  if (next_index_ > kMaxIndex) return false;
  Callout c;
  c.index = next_index_;
  c.color = color;
  c.start = at;
  c.texts = NewLabelTexts(color);
  c.label_size = measure_(c.texts.text);
  c.line_color = style_line_;
  c.opaque = style_opaque_;
  c.background = style_background_;
  drag_pointer_ = at;
  last_pointer_ = at;
  Relayout(c);
  callouts_.push_back(std::move(c));
  dragging_ = true;
  left_moved_ = false;
  return true;
}

bool CalloutBoard::Tick() {
  Callout* c = Newest();
  if (!c) return false;
  const int before = direction_.octant;
  ClassifyDirection(last_pointer_.x - c->start.x, last_pointer_.y - c->start.y, direction_);
  if (direction_.octant == before || !left_moved_) return false;
  // The layout follows the new direction at once, not only on the next move.
  Relayout(*c);
  return true;
}

void CalloutBoard::DragTo(Point pointer) {
  Callout* c = Newest();
  if (!c) return;
  drag_pointer_ = pointer;
  last_pointer_ = pointer;
  left_moved_ = true;
  if (direction_.octant != 0) Relayout(*c);
}

void CalloutBoard::Finish() {
  if (!dragging_) return;
  dragging_ = false;
  ++next_index_;
}

int CalloutBoard::LabelAt(Point p) const {
  for (auto it = callouts_.rbegin(); it != callouts_.rend(); ++it) {
    const Point& l = it->geometry.label;
    if (p.x >= l.x && p.y >= l.y && p.x < l.x + it->label_size.cx && p.y < l.y + it->label_size.cy) return it->index;
  }
  return 0;
}

void CalloutBoard::BeginLabelDrag(int index, Point pointer) {
  Callout* c = FindMutable(index);
  if (!c) return;
  active_ = index;
  grab_ = Point{pointer.x - c->geometry.label.x, pointer.y - c->geometry.label.y};
  c->line_color = kBlue;
  label_drag_ = true;
}

void CalloutBoard::DragLabelTo(Point pointer) {
  if (!label_drag_) return;
  auto it = std::find_if(callouts_.begin(), callouts_.end(), [&](const Callout& c) { return c.index == active_; });
  if (it == callouts_.end()) return;
  it->geometry.label = Point{pointer.x - grab_.x, pointer.y - grab_.y};
  // Bring it to the front: later entries are drawn on top.
  std::rotate(it, it + 1, callouts_.end());
}

void CalloutBoard::EndLabelDrag() {
  if (!label_drag_) return;
  label_drag_ = false;
  if (Callout* c = FindMutable(active_)) c->line_color = kRed;
}

void CalloutBoard::ChooseForMenu(int index) {
  const Callout* c = Find(index);
  if (!c) return;
  active_ = index;
  menu_texts_ = c->texts;
}

void CalloutBoard::SetLineColor(ColorValue color) {
  Callout* c = FindMutable(active_);
  if (!c) return;
  c->line_color = color;
  c->text_color = color;
  style_line_ = color;
}

void CalloutBoard::SetBackground(ColorValue color) {
  Callout* c = FindMutable(active_);
  if (!c) return;
  c->opaque = true;
  c->background = color;
  style_background_ = color;
  style_opaque_ = true;
}

void CalloutBoard::SetTransparent() {
  Callout* c = FindMutable(active_);
  if (!c) return;
  style_opaque_ = false;
  c->opaque = false;
}

void CalloutBoard::ClearBackground() {
  if (Callout* c = FindMutable(active_)) c->opaque = false;
}

void CalloutBoard::ShowDecimal() {
  Callout* c = FindMutable(active_);
  if (!c || menu_texts_.text.find('#') == std::string::npos) return;
  c->texts = ToDecimal(menu_texts_);
  c->label_size = measure_(c->texts.text);
}

void CalloutBoard::ShowHexadecimal() {
  Callout* c = FindMutable(active_);
  if (!c || menu_texts_.text.find('#') != std::string::npos) return;
  c->texts = ToHexadecimal(menu_texts_);
  c->label_size = measure_(c->texts.text);
}

void CalloutBoard::Delete() {
  if (dragging_ && active_ == next_index_) return;  // never pull a callout out from under a drag
  auto it = std::find_if(callouts_.begin(), callouts_.end(), [&](const Callout& c) { return c.index == active_; });
  if (it == callouts_.end()) return;
  callouts_.erase(it);
  label_drag_ = false;
}

std::optional<std::string> CalloutBoard::ActiveText() const {
  const Callout* c = Find(active_);
  if (!c) return std::nullopt;
  return c->texts.text;
}

}  // namespace vardo::colorpick
