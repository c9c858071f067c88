#include "capture/annotation.h"

#include <algorithm>
#include <cmath>

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

Rect Grow(const Rect& r, int by) {
  Rect g{r.left - by, r.top - by, r.width + 2 * by, r.height + 2 * by};
  if (g.width < 0) {
    g.left = r.left + r.width / 2;
    g.width = 0;
  }
  if (g.height < 0) {
    g.top = r.top + r.height / 2;
    g.height = 0;
  }
  return g;
}

int HalfPen(double width) { return static_cast<int>(std::ceil(std::max(width, 0.0) / 2)); }

std::array<Point, 4> SegmentQuad(Point a, Point b, int half, int extend) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len = std::hypot(dx, dy);
  // Unit vectors along the segment (u) and across it (v).
  double ux = 1, uy = 0;
  if (len > 0) {
    ux = dx / len;
    uy = dy / len;
  }
  const double vx = -uy, vy = ux;
  auto at = [&](Point p, double along, double across) {
    return Point{static_cast<int>(std::lround(p.x + ux * along + vx * across)),
                 static_cast<int>(std::lround(p.y + uy * along + vy * across))};
  };
  return {at(a, -extend, -half), at(b, extend, -half), at(b, extend, half), at(a, -extend, half)};
}

int ArrowHeadReach(double width) {
  // The anchor's triangle spans a few pen widths round the end point; a
  // pen thinner than 2 px is taken as 2 px, with a margin for smoothing.
  return static_cast<int>(std::ceil(std::max(width, 2.0) * 3)) + 2;
}

}  // namespace vardo::capture
