#include "capture/annotation.h"

#include <algorithm>

#include "capture/helpers.h"

namespace vardo::capture {

StrokePen MakeStrokePen(uint32_t colour, double alpha, double width) {
  const Rgb c = SplitRGB(colour);
  const int a = static_cast<int>(std::clamp(alpha, 0.0, 255.0));
  return StrokePen{MakeARGB(a, c.r, c.g, c.b), std::max(width, 0.0)};
}

Rect SpanBox(Point from, Point to) {
  const int left = std::min(from.x, to.x), top = std::min(from.y, to.y);
  return Rect{left, top, std::max(from.x, to.x) - left, std::max(from.y, to.y) - top};
}

Point ClampToSelection(Point p, const Rect& selection) {
  return Point{ClampToSelX(p.x, selection.left, selection.width), ClampToSelY(p.y, selection.top, selection.height)};
}

Stroke::Stroke(Tool tool, Point press, const Rect& selection, double width)
    : tool_(tool), selection_(selection), width_(width), start_(press) {
  current_ = ClampToSelection(press, selection_);
  last_ = current_;
}

std::optional<Stroke::Segment> Stroke::MoveTo(Point p) {
  current_ = ClampToSelection(p, selection_);
  if (tool_ != Tool::Eraser) return std::nullopt;
  Segment s{last_, current_};
  last_ = current_;
  return s;
}

Rect Stroke::EraserDab() const {
  const int w = static_cast<int>(width_);
  const Point c = ClampToSelection(start_, selection_);
  return Rect{c.x - w / 2, c.y - w / 2, w, w};
}

Rect EraserCursor(Point pointer, double width) {
  const int w = static_cast<int>(width);
  return Rect{pointer.x - w / 2, pointer.y - w / 2, w, w};
}

}  // namespace vardo::capture
