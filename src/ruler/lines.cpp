#include "ruler/lines.h"

#include <algorithm>

namespace vardo::ruler {

LineBoard::LineBoard(std::function<Size(const std::string&)> measure, int dpi, int tick_half)
    : measure_(std::move(measure)), dpi_(dpi), tick_half_(tick_half) {}

const MeasureLine* LineBoard::Find(int index) const {
  if (index <= 0) return nullptr;
  for (const MeasureLine& l : lines_)
    if (l.index == index) return &l;
  return nullptr;
}

MeasureLine* LineBoard::FindMutable(int index) { return const_cast<MeasureLine*>(Find(index)); }

MeasureLine* LineBoard::Drawn() { return drawing_ ? FindMutable(next_index_) : nullptr; }

Rect LineBoard::Bounds(const MeasureLine& line) {
  if (!line.shown) return Rect{};
  const Rect label{line.geometry.label.x, line.geometry.label.y, line.label_size.width, line.label_size.height};
  return Union(StrokeBounds(line.geometry), label);
}

Rect LineBoard::TakeDirty() {
  const Rect d = dirty_;
  dirty_ = Rect{};
  return d;
}

bool LineBoard::Begin(Point at) {
  if (drawing_) Finish();
  if (next_index_ > kMaxIndex) return false;
  MeasureLine line;
  line.index = next_index_;
  line.color = color_;
  line.geometry = LayoutLine(at, at, Axis::kFlat, tick_half_);
  drag_pointer_ = at;
  lines_.push_back(std::move(line));
  drawing_ = true;
  return true;
}

void LineBoard::LayOut(MeasureLine& line) {
  Touch(line);
  line.geometry = LayoutLine(line.geometry.start, drag_pointer_, direction_.axis, tick_half_);
  // The label always reads the line as it is drawn.
  line.text = LengthText(LengthTwips(line.geometry.start, line.geometry.end, dpi_), dpi_);
  line.label_size = measure_(line.text);
  line.shown = true;
  live_text_ = line.text;
  Touch(line);
}

void LineBoard::Tick(Point pointer) {
  MeasureLine* line = Drawn();
  if (!line) return;
  const Axis before = direction_.axis;
  const Point s = line->geometry.start;
  UpdateAxis(pointer.x - s.x, pointer.y - s.y, direction_);
  if (direction_.axis != before) LayOut(*line);
  live_text_ = LengthText(line->shown ? LengthTwips(s, line->geometry.end, dpi_) : 0.0, dpi_);
}

void LineBoard::DragTo(Point pointer) {
  MeasureLine* line = Drawn();
  if (!line) return;
  drag_pointer_ = pointer;
  if (direction_.axis != Axis::kNone) LayOut(*line);
}

void LineBoard::Finish() {
  if (!drawing_) return;
  auto it = std::find_if(lines_.begin(), lines_.end(), [&](const MeasureLine& l) { return l.index == next_index_; });
  if (it != lines_.end() && !it->shown) lines_.erase(it);
  drawing_ = false;
  ++next_index_;
}

int LineBoard::LabelAt(Point p) const {
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
    if (!it->shown) continue;
    const Rect r{it->geometry.label.x, it->geometry.label.y, it->label_size.width, it->label_size.height};
    if (r.Contains(p)) return it->index;
  }
  return 0;
}

void LineBoard::BeginLabelDrag(int index, Point pointer) {
  MeasureLine* line = FindMutable(index);
  if (!line || drawing_) return;
  active_ = index;
  grab_ = Point{pointer.x - line->geometry.label.x, pointer.y - line->geometry.label.y};
  line->highlighted = true;
  label_drag_ = true;
  Touch(*line);
}

void LineBoard::DragLabelTo(Point pointer) {
  if (!label_drag_) return;
  auto it = std::find_if(lines_.begin(), lines_.end(), [&](const MeasureLine& l) { return l.index == active_; });
  if (it == lines_.end()) return;
  Touch(*it);
  it->geometry.label = Point{pointer.x - grab_.x, pointer.y - grab_.y};
  Touch(*it);
  // To the front: later lines are drawn on top.
  std::rotate(it, it + 1, lines_.end());
}

void LineBoard::EndLabelDrag() {
  if (!label_drag_) return;
  label_drag_ = false;
  if (MeasureLine* line = FindMutable(active_)) {
    line->highlighted = false;
    line->color = color_;
    Touch(*line);
  }
}

void LineBoard::ChooseForMenu(int index) {
  if (Find(index)) active_ = index;
}

void LineBoard::SetColor(ColorValue c) {
  MeasureLine* line = FindMutable(active_);
  if (!line) return;
  line->color = c;
  color_ = c;
  Touch(*line);
}

void LineBoard::Delete() {
  if (drawing_ && active_ == next_index_) return;  // never pull a line out from under a drag
  auto it = std::find_if(lines_.begin(), lines_.end(), [&](const MeasureLine& l) { return l.index == active_; });
  if (it == lines_.end()) return;
  Touch(*it);
  lines_.erase(it);
  label_drag_ = false;
}

}  // namespace vardo::ruler
