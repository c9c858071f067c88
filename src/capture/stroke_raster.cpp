#include "capture/stroke_raster.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE__) || defined(_M_X64) || defined(_M_IX86)
#include <xmmintrin.h>
#endif

#include "capture/pixel_blend.h"

namespace vardo::capture {

namespace {

constexpr double kPi = 3.14159265358979323846;

// How far a polygon's chord may stray from the true outline, in pixels:
// well below what one level of coverage shows.
constexpr double kFlatness = 0.01;

// floor() for the coordinates here, without a library call.
inline int Floor(double v) {
  const int i = static_cast<int>(v);
  return i - (v < i);
}

// Asks for the memory at `p` ahead of its use.
inline void Prefetch(const void* p) {
#if defined(__SSE__) || defined(_M_X64) || defined(_M_IX86)
  _mm_prefetch(static_cast<const char*>(p), _MM_HINT_T0);
#else
  static_cast<void>(p);
#endif
}

Rect Intersect(const Rect& a, const Rect& b) {
  const int l = std::max(a.left, b.left), t = std::max(a.top, b.top);
  const int r = std::min(a.right(), b.right()), btm = std::min(a.bottom(), b.bottom());
  return Rect{l, t, std::max(r - l, 0), std::max(btm - t, 0)};
}

// Distance from `p` to the line through `a` and `b` (to `a` when they meet).
double OffChord(PointF p, PointF a, PointF b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
  if (len < 1e-12) return std::hypot(p.x - a.x, p.y - a.y);
  return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
}

// The ellipse with radii (a, b) round the origin, by the direction of its
// outward normal φ in the first quadrant: the outline's point there, and the
// points half a pen (`r`) outside and inside it. The inner one is held to
// the quadrant: past an axis it is where the inner offset folds over
// itself, which is not part of the hole's edge, and held on the axis it
// adds no area. Points where the normal is not defined (the ends of a flat
// box) are skipped.
struct QuadrantPoint {
  PointF outer, inner;
};
bool PointAt(double a, double b, double r, double phi, QuadrantPoint& out) {
  const double c = std::cos(phi), s = std::sin(phi);
  const double d = std::sqrt(a * a * c * c + b * b * s * s);
  if (d < 1e-9) return false;
  const double qx = a * a * c / d, qy = b * b * s / d;
  out.outer = PointF{qx + r * c, qy + r * s};
  out.inner = PointF{std::max(qx - r * c, 0.0), std::max(qy - r * s, 0.0)};
  return true;
}

}  // namespace

CoverageRaster::CoverageRaster(const Rect& clip) : clip_(clip) {}

void CoverageRaster::AddContour(const Contour& points) {
  if (points.size() < 3 || clip_.Empty()) return;
  edges_.reserve(edges_.size() + points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    // Pixel (x, y) covers [x - 0.5, x + 0.5): shifted, it is the cell from x to x + 1.
    PointF a{points[i].x + 0.5, points[i].y + 0.5};
    const PointF& next = points[(i + 1) % points.size()];
    PointF b{next.x + 0.5, next.y + 0.5};
    if (a.y == b.y) continue;  // a level edge changes no row's winding
    const float sign = b.y > a.y ? 1.0f : -1.0f;
    if (a.y > b.y) std::swap(a, b);
    // Rows outside the clip are never painted.
    if (b.y <= clip_.top || a.y >= clip_.bottom()) continue;
    edges_.push_back(Edge{a.x, a.y, b.y, (b.x - a.x) / (b.y - a.y), sign});
  }
}

void CoverageRaster::AddRowPiece(double xa, double xb, float dy) {
  const double lo = std::min(xa, xb), hi = std::max(xa, xb);
  const int left = clip_.left, right = clip_.right();
  // Right of the clip, an edge changes only pixels that are not painted;
  // left of it, only its height counts, for the pixels to its right.
  if (lo >= right) return;
  if (hi <= left) {
    row_.push_back(Cell{left - 1, dy, 0});
    return;
  }
  const int first = Floor(lo);
  if (first == Floor(hi)) {
    row_.push_back(Cell{first, dy, dy * static_cast<float>((lo + hi) / 2 - first)});
    return;
  }
  // Across several pixels: each takes the height of its part of the edge.
  const double per_x = dy / (hi - lo);
  double x = lo;
  if (x < left) {
    row_.push_back(Cell{left - 1, static_cast<float>(per_x * (left - x)), 0});
    x = left;
  }
  const double end = std::min(hi, static_cast<double>(right));
  for (int cell = Floor(x); x < end; ++cell) {
    const double next = std::min(cell + 1.0, end);
    const double h = per_x * (next - x);
    row_.push_back(Cell{cell, static_cast<float>(h), static_cast<float>(h * ((x + next) / 2 - cell))});
    x = next;
  }
}

void CoverageRaster::Blend(uint32_t* pixels, int stride, uint32_t argb) {
  const int alpha = static_cast<int>(argb >> 24);
  if (!pixels || alpha == 0 || edges_.empty()) return;
  // Row by row from the top, with the edges that cross the row at hand.
  std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
  const uint32_t opaque = argb & 0xFFFFFFu;
  // The alpha a pixel of coverage `c` takes (winding of either sign, overlaps once).
  auto alpha_of = [alpha](float c) {
    c = std::min(std::fabs(c), 1.0f);
    return static_cast<int>(alpha * c + 0.5f);
  };
  auto paint = [&](uint32_t* row, int from, int to, int a) {
    if (a <= 0) return;
    for (int x = from; x < to; ++x) {
      const uint32_t p = row[x];
      if (a == 255) {
        row[x] = (p & 0xFF000000u) | opaque;
        continue;
      }
      row[x] = BlendPixel(p, opaque, a);
    }
  };
  const int left = clip_.left, right = clip_.right();
  // The edges crossing the row, with their part in it, kept in order of
  // where that part starts: then their cells come out nearly in order.
  struct Active {
    const Edge* edge;
    double xa, xb, lo;
    float dy;
  };
  std::vector<Active> active;
  size_t next_edge = 0;
  for (int y = std::max(clip_.top, Floor(edges_.front().top)); y < clip_.bottom(); ++y) {
    if (active.empty()) {
      if (next_edge == edges_.size()) break;
      // Skip rows no edge crosses.
      y = std::max(y, Floor(edges_[next_edge].top));
      if (y >= clip_.bottom()) break;
    }
    for (; next_edge < edges_.size() && edges_[next_edge].top < y + 1; ++next_edge)
      active.push_back(Active{&edges_[next_edge], 0, 0, 0, 0});
    for (Active& a : active) {
      const Edge& e = *a.edge;
      const double ya = std::max(e.top, static_cast<double>(y)), yb = std::min(e.bottom, y + 1.0);
      a.xa = e.x + (ya - e.top) * e.dxdy;
      a.xb = e.x + (yb - e.top) * e.dxdy;
      a.lo = std::min(a.xa, a.xb);
      a.dy = yb > ya ? e.sign * static_cast<float>(yb - ya) : 0.0f;
    }
    for (size_t i = 1; i < active.size(); ++i)
      for (size_t j = i; j > 0 && active[j - 1].lo > active[j].lo; --j) std::swap(active[j - 1], active[j]);
    row_.clear();
    for (const Active& a : active)
      if (a.dy != 0) AddRowPiece(a.xa, a.xb, a.dy);
    // Edges that end in this row are done with.
    active.erase(std::remove_if(active.begin(), active.end(), [y](const Active& a) { return a.edge->bottom <= y + 1; }),
                 active.end());
    if (row_.empty()) continue;
    for (size_t i = 1; i < row_.size(); ++i)
      for (size_t j = i; j > 0 && row_[j - 1].x > row_[j].x; --j) std::swap(row_[j - 1], row_[j]);
    uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
    // The pixels two rows down lie about where these are: asked for now,
    // they are at hand by then (the rows are far apart in memory).
    const uint32_t* ahead = y + 2 < clip_.bottom() ? row + 2 * static_cast<size_t>(stride) : nullptr;
    int line = -1;
    // The winding so far: the heights of every edge left of the pixel.
    float winding = 0;
    int next = left;
    for (auto c = row_.begin(); c != row_.end();) {
      const int x = c->x;
      float cover = 0, area = 0;
      for (; c != row_.end() && c->x == x; ++c) {
        cover += c->cover;
        area += c->area;
      }
      if (ahead && x >= left && (x - left) / 16 != line) {
        line = (x - left) / 16;
        Prefetch(ahead + x);
      }
      if (x > next) paint(row, next, x, alpha_of(winding));
      // The part of this pixel right of its edges is inside as far as they reach.
      if (x >= left) paint(row, x, x + 1, alpha_of(winding + cover - area));
      winding += cover;
      next = std::max(next, x + 1);
    }
    if (next < right) paint(row, next, right, alpha_of(winding));
  }
}

double StrokeWidth(double width) { return std::max(width, 1.0); }

std::vector<Contour> EllipseStroke(const Rect& box, double width) {
  const double a = box.width / 2.0, b = box.height / 2.0;
  const double cx = box.left + a, cy = box.top + b;
  const double r = StrokeWidth(width) / 2;
  // Directions of the normal across the first quadrant: evenly spread in
  // the ellipse's own angle (close where it bends most) and in the normal's
  // angle (round the pen's ends on a thin or flat ellipse), then filled in
  // where a chord still strays from the outline.
  std::vector<double> phis;
  const int by_angle = static_cast<int>(std::ceil(4 * std::sqrt(std::max(a, b) + r))) + 4;
  const int by_normal = static_cast<int>(std::ceil(4 * std::sqrt(std::min(a, b) + r))) + 4;
  for (int k = 0; k <= by_angle; ++k) {
    const double t = kPi / 2 * k / by_angle;
    phis.push_back(std::atan2(a * std::sin(t), b * std::cos(t)));
  }
  for (int k = 0; k <= by_normal; ++k) phis.push_back(kPi / 2 * k / by_normal);
  std::sort(phis.begin(), phis.end());
  std::vector<QuadrantPoint> quadrant;
  std::vector<double> used;
  QuadrantPoint p{};
  for (double phi : phis) {
    if (!used.empty() && phi - used.back() < 1e-12) continue;
    if (!PointAt(a, b, r, phi, p)) continue;
    if (!quadrant.empty()) {
      // The chord's stray grows with the square of its span.
      QuadrantPoint mid{};
      const double m = (used.back() + phi) / 2;
      if (PointAt(a, b, r, m, mid)) {
        const double stray = std::max(OffChord(mid.outer, quadrant.back().outer, p.outer),
                                      OffChord(mid.inner, quadrant.back().inner, p.inner));
        const int parts = std::min(64, static_cast<int>(std::ceil(std::sqrt(stray / kFlatness))));
        const double from = used.back();
        for (int i = 1; i < parts; ++i) {
          QuadrantPoint extra{};
          const double e = from + (phi - from) * i / parts;
          if (PointAt(a, b, r, e, extra)) {
            quadrant.push_back(extra);
            used.push_back(e);
          }
        }
      }
    }
    quadrant.push_back(p);
    used.push_back(phi);
  }
  if (quadrant.empty()) return {};
  // The four quadrants mirrored from the first, so the stroke is exactly
  // symmetric; the same way round for the outline and its hole, the hole
  // then reversed.
  auto around = [&](bool inner) {
    Contour c;
    c.reserve(quadrant.size() * 4);
    const int n = static_cast<int>(quadrant.size());
    auto at = [&](int k) { return inner ? quadrant[static_cast<size_t>(k)].inner : quadrant[static_cast<size_t>(k)].outer; };
    for (int k = 0; k < n; ++k) c.push_back(PointF{cx + at(k).x, cy + at(k).y});
    for (int k = n - 1; k >= 0; --k) c.push_back(PointF{cx - at(k).x, cy + at(k).y});
    for (int k = 0; k < n; ++k) c.push_back(PointF{cx - at(k).x, cy - at(k).y});
    for (int k = n - 1; k >= 0; --k) c.push_back(PointF{cx + at(k).x, cy - at(k).y});
    return c;
  };
  std::vector<Contour> out{around(false)};
  Contour hole = around(true);
  std::reverse(hole.begin(), hole.end());
  out.push_back(std::move(hole));
  return out;
}

ArrowHead ArrowHeadOf(PointF from, PointF to, double width) {
  const double size = std::max(StrokeWidth(width), 2.0);
  const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
  const double ux = len > 0 ? dx / len : 1, uy = len > 0 ? dy / len : 0;
  const PointF base{to.x - ux * std::sqrt(3.0) * size, to.y - uy * std::sqrt(3.0) * size};
  // Across the line: (-uy, ux).
  return ArrowHead{to, PointF{base.x + uy * size, base.y - ux * size}, PointF{base.x - uy * size, base.y + ux * size}};
}

std::vector<Contour> ArrowStroke(PointF from, PointF to, double width) {
  const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
  if (len <= 0) return {};
  const ArrowHead head = ArrowHeadOf(from, to, width);
  std::vector<Contour> out{{head.base_left, head.tip, head.base_right}};
  const PointF base{(head.base_left.x + head.base_right.x) / 2, (head.base_left.y + head.base_right.y) / 2};
  // The shaft meets the head's base: a line shorter than the head is all head.
  if ((base.x - from.x) * dx + (base.y - from.y) * dy <= 0) return out;
  const double half = StrokeWidth(width) / 2, ax = -dy / len * half, ay = dx / len * half;
  // Round the same way as the head, so the two add up along the base.
  out.push_back(Contour{{from.x - ax, from.y - ay}, {base.x - ax, base.y - ay}, {base.x + ax, base.y + ay},
                        {from.x + ax, from.y + ay}});
  return out;
}

void BlendEllipse(uint32_t* pixels, Size size, int stride, const Rect& box, double width, const Rect& clip,
                  uint32_t argb) {
  if (!pixels || (argb >> 24) == 0) return;
  CoverageRaster raster(Intersect(clip, Rect{0, 0, size.width, size.height}));
  for (const Contour& c : EllipseStroke(box, width)) raster.AddContour(c);
  raster.Blend(pixels, stride, argb);
}

void BlendArrow(uint32_t* pixels, Size size, int stride, Point from, Point to, double width, const Rect& clip,
                uint32_t argb) {
  if (!pixels || (argb >> 24) == 0) return;
  CoverageRaster raster(Intersect(clip, Rect{0, 0, size.width, size.height}));
  const PointF a{static_cast<double>(from.x), static_cast<double>(from.y)};
  const PointF b{static_cast<double>(to.x), static_cast<double>(to.y)};
  for (const Contour& c : ArrowStroke(a, b, width)) raster.AddContour(c);
  raster.Blend(pixels, stride, argb);
}

}  // namespace vardo::capture
