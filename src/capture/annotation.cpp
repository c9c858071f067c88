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

std::array<Point, 4> PreviewLineQuad(Point a, Point b, int width) {
  width = std::max(width, 1);
  const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
  // Across the line, pointing down (or right for a level line): the side
  // whose edge the fill leaves out gets the odd pixel.
  double vx = 0, vy = 1;
  if (len > 0) {
    vx = -dy / len;
    vy = dx / len;
    if (vy < 0 || (vy == 0 && vx < 0)) {
      vx = -vx;
      vy = -vy;
    }
  }
  const int before = width / 2, after = width - before;
  auto at = [&](Point p, int across) {
    return Point{static_cast<int>(std::lround(p.x + vx * across)), static_cast<int>(std::lround(p.y + vy * across))};
  };
  return {at(a, -before), at(b, -before), at(b, after), at(a, after)};
}

std::vector<Rect> EllipseFrameStrips(const Rect& box, int reach, int rows) {
  std::vector<Rect> out;
  rows = std::max(rows, 1);
  const Rect outer = Grow(box, reach);
  const double cx = box.left + box.width / 2.0, cy = box.top + box.height / 2.0;
  const double ao = box.width / 2.0 + reach, bo = box.height / 2.0 + reach;
  const double ai = box.width / 2.0 - reach, bi = box.height / 2.0 - reach;
  // Half the width of an ellipse at the row whose centre is `y`.
  auto half = [](double a, double b, double dy) {
    if (a <= 0 || b <= 0 || std::fabs(dy) >= b) return 0.0;
    return a * std::sqrt(1 - (dy / b) * (dy / b));
  };
  for (int y0 = outer.top; y0 < outer.bottom(); y0 += rows) {
    const int y1 = std::min(y0 + rows, outer.bottom());
    // The outer ellipse is widest at the strip's row nearest the centre,
    // the hole narrowest at the farthest one.
    const double near = std::clamp(cy, y0 + 0.5, y1 - 0.5) - cy;
    const double far = std::max(std::fabs(y0 + 0.5 - cy), std::fabs(y1 - 0.5 - cy));
    const double xo = std::max(half(ao, bo, near), 1.0);
    const double xi = half(ai, bi, far);
    const int left = static_cast<int>(std::floor(cx - xo)) - 1, right = static_cast<int>(std::ceil(cx + xo)) + 1;
    if (xi < 2) {
      out.push_back(Rect{left, y0, right - left, y1 - y0});
      continue;
    }
    const int hole_left = static_cast<int>(std::ceil(cx - xi)) + 1, hole_right = static_cast<int>(std::floor(cx + xi)) - 1;
    if (hole_right <= hole_left) {
      out.push_back(Rect{left, y0, right - left, y1 - y0});
      continue;
    }
    out.push_back(Rect{left, y0, hole_left - left, y1 - y0});
    out.push_back(Rect{hole_right, y0, right - hole_right, y1 - y0});
  }
  return out;
}

std::vector<Rect> EllipseRing(const Rect& box, int width) {
  std::vector<Rect> out;
  width = std::max(width, 1);
  const double cx = box.left + box.width / 2.0, cy = box.top + box.height / 2.0;
  const double ao = box.width / 2.0 + width / 2.0, bo = box.height / 2.0 + width / 2.0;
  const double ai = ao - width, bi = bo - width;
  for (int y = static_cast<int>(std::floor(cy - bo)); y <= static_cast<int>(std::ceil(cy + bo)); ++y) {
    const double dy = y + 0.5 - cy;
    if (std::fabs(dy) > bo) continue;
    const double xo = ao * std::sqrt(1 - (dy / bo) * (dy / bo));
    const int l = static_cast<int>(std::lround(cx - xo)), r = static_cast<int>(std::lround(cx + xo));
    if (ai <= 0 || bi <= 0 || std::fabs(dy) >= bi) {
      out.push_back(Rect{l, y, std::max(r - l, 1), 1});
      continue;
    }
    const double xi = ai * std::sqrt(1 - (dy / bi) * (dy / bi));
    const int il = static_cast<int>(std::lround(cx - xi)), ir = static_cast<int>(std::lround(cx + xi));
    out.push_back(Rect{l, y, std::max(il - l, 1), 1});
    out.push_back(Rect{ir, y, std::max(r - ir, 1), 1});
  }
  return out;
}

std::vector<Rect> CrispFrame(const Rect& box, double width) {
  const double half = std::max(width, 0.0) / 2;
  // The pixels of a line through c: [lo, hi), never none.
  auto lo = [half](int c) { return static_cast<int>(std::ceil(c - half)); };
  auto hi = [&](int c) { return std::max(static_cast<int>(std::ceil(c + half)), lo(c) + 1); };
  const int ol = lo(box.left), ot = lo(box.top), orr = hi(box.right()), ob = hi(box.bottom());
  const int il = hi(box.left), it = hi(box.top), ir = lo(box.right()), ib = lo(box.bottom());
  const Rect outer{ol, ot, orr - ol, ob - ot};
  if (il >= ir || it >= ib) return {outer};
  return {Rect{ol, ot, outer.width, it - ot}, Rect{ol, ib, outer.width, ob - ib}, Rect{ol, it, il - ol, ib - it},
          Rect{ir, it, orr - ir, ib - it}};
}

std::vector<Rect> RectFrameStrips(const Rect& box, int reach) {
  const Rect o = Grow(box, reach), i = Grow(box, -reach);
  if (i.Empty()) return {o};
  return {Rect{o.left, o.top, o.width, i.top - o.top}, Rect{o.left, i.bottom(), o.width, o.bottom() - i.bottom()},
          Rect{o.left, i.top, i.left - o.left, i.height}, Rect{i.right(), i.top, o.right() - i.right(), i.height}};
}

std::vector<Rect> QuadStrips(const std::array<Point, 4>& q, int rows, const Rect& also) {
  rows = std::max(rows, 1);
  int top = q[0].y, bottom = q[0].y;
  for (const Point& p : q) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  if (!also.Empty()) {
    top = std::min(top, also.top);
    bottom = std::max(bottom, also.bottom() - 1);
  }
  std::vector<Rect> out;
  for (int y0 = top; y0 <= bottom; y0 += rows) {
    const int y1 = std::min(y0 + rows, bottom + 1);
    // The band [y0, y1]: the corners inside it and where the edges cross
    // its two lines.
    double lo = 1e18, hi = -1e18;
    for (size_t k = 0; k < 4; ++k) {
      const Point a = q[k], b = q[(k + 1) % 4];
      if (a.y >= y0 && a.y <= y1) {
        lo = std::min(lo, static_cast<double>(a.x));
        hi = std::max(hi, static_cast<double>(a.x));
      }
      for (int line : {y0, y1}) {
        if ((a.y - line) * (b.y - line) < 0) {
          const double x = a.x + static_cast<double>(b.x - a.x) * (line - a.y) / (b.y - a.y);
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
      }
    }
    if (lo <= hi) {
      lo = std::floor(lo) - 1;
      hi = std::ceil(hi) + 2;
    }
    if (!also.Empty() && also.top < y1 && y0 < also.bottom()) {
      lo = std::min(lo, static_cast<double>(also.left));
      hi = std::max(hi, static_cast<double>(also.right()));
    }
    if (lo > hi) continue;
    out.push_back(Rect{static_cast<int>(lo), y0, static_cast<int>(hi - lo), y1 - y0});
  }
  return out;
}

std::vector<Rect> StrokeStrips(Tool tool, const Rect& box, Point from, Point to, double width, bool head, int rows) {
  const int half = HalfPen(width) + 1;
  switch (tool) {
    case Tool::Ellipse:
      return EllipseFrameStrips(box, half + half / 2 + 2, std::max(rows, 2 * half));
    case Tool::Arrow:
    case Tool::Eraser: {
      Rect end{};
      if (head) {
        const int reach = ArrowHeadReach(width);
        end = Rect{to.x - reach, to.y - reach, 2 * reach + 1, 2 * reach + 1};
      }
      return QuadStrips(SegmentQuad(from, to, half, half), rows, end);
    }
    default:
      return RectFrameStrips(box, half + 1);
  }
}

int ArrowHeadReach(double width) {
  // The anchor's triangle lies within twice its size (the pen width, at
  // least 2 px) of the end point; a pixel more for its shaded edge.
  return static_cast<int>(std::ceil(std::max(width, 2.0) * 2)) + 2;
}

}  // namespace vardo::capture
