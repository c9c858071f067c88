#include "ruler/measure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/units.h"

namespace vardo::ruler {

void UpdateAxis(int dx, int dy, DirectionState& state) {
  ClassifyDirection(dx, dy, state);
  // The octant table has no row for a drag along an axis, yet for a ruler
  // that is the plainest case: a drag kept exactly level (with the arrow
  // keys, say) must measure level.
  if (dy == 0 && dx != 0) state.axis = Axis::kFlat;
  else if (dx == 0 && dy != 0) state.axis = Axis::kSteep;
}

LineGeometry LayoutLine(Point start, Point pointer, Axis axis, int tick_half) {
  LineGeometry g;
  g.start = start;
  if (axis == Axis::kSteep) {
    g.end = Point{start.x, pointer.y};
    g.start_tick_a = Point{start.x - tick_half, start.y};
    g.start_tick_b = Point{start.x + tick_half, start.y};
    g.end_tick_a = Point{start.x - tick_half, pointer.y};
    g.end_tick_b = Point{start.x + tick_half, pointer.y};
    g.label = Point{start.x, (start.y + pointer.y) / 2};
  } else {
    g.end = Point{pointer.x, start.y};
    g.start_tick_a = Point{start.x, start.y - tick_half};
    g.start_tick_b = Point{start.x, start.y + tick_half};
    g.end_tick_a = Point{pointer.x, start.y - tick_half};
    g.end_tick_b = Point{pointer.x, start.y + tick_half};
    g.label = Point{(start.x + pointer.x) / 2, start.y};
  }
  return g;
}

double LengthTwips(Point a, Point b, int dpi) {
  const double tpp = TwipsPerPixel(dpi);
  const double dx = (b.x - a.x) * tpp, dy = (b.y - a.y) * tpp;
  return std::sqrt(dx * dx + dy * dy);
}

std::string LengthText(double twips, int dpi) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", twips / TwipsPerPixel(dpi) + 1);
  return std::string(buf) + "px";
}

Rect StrokeBounds(const LineGeometry& g) {
  const Point pts[] = {g.start, g.end, g.start_tick_a, g.start_tick_b, g.end_tick_a, g.end_tick_b};
  int l = pts[0].x, t = pts[0].y, r = pts[0].x, b = pts[0].y;
  for (const Point& p : pts) {
    l = std::min(l, p.x);
    t = std::min(t, p.y);
    r = std::max(r, p.x);
    b = std::max(b, p.y);
  }
  return Rect{l, t, r - l + 1, b - t + 1};
}

}  // namespace vardo::ruler
