// The anti-aliased ellipse and arrow strokes, on synthetic pixels: white
// painted over black, so a pixel's blue byte is its coverage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "capture/pixel_blend.h"
#include "capture/stroke_raster.h"

namespace vardo::capture {
namespace {

constexpr uint32_t kBlack = 0x12000000u;  // the top byte must stay
constexpr uint32_t kWhite = 0xFFFFFFFFu;

struct Canvas {
  Size size;
  std::vector<uint32_t> px;
  explicit Canvas(Size s) : size(s), px(static_cast<size_t>(s.width) * s.height, kBlack) {}
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * size.width + x]; }
  double cover(int x, int y) const { return (at(x, y) & 0xFF) / 255.0; }
  uint32_t* bits() { return px.data(); }
  // Coverage summed over a column's rows [top, bottom) or a row's columns.
  double Column(int x, int top, int bottom) const {
    double s = 0;
    for (int y = top; y < bottom; ++y) s += cover(x, y);
    return s;
  }
  double Row(int y, int left, int right) const {
    double s = 0;
    for (int x = left; x < right; ++x) s += cover(x, y);
    return s;
  }
  double Total() const {
    double s = 0;
    for (uint32_t p : px) s += (p & 0xFF) / 255.0;
    return s;
  }
};

Canvas Ellipse(Size s, const Rect& box, double width, const Rect& clip, uint32_t argb = kWhite) {
  Canvas c(s);
  BlendEllipse(c.bits(), s, s.width, box, width, clip, argb);
  return c;
}

// Distance from (x, y) to the outline of the ellipse in `box`: the nearest
// point found by iterating on the ellipse's evolute (a method of its own,
// unlike the polygons the strokes are drawn from).
double DistanceToEllipse(const Rect& box, double x, double y) {
  const double a = box.width / 2.0, b = box.height / 2.0;
  const double px = std::fabs(x - box.left - a), py = std::fabs(y - box.top - b);
  double tx = 0.70710678, ty = 0.70710678;
  for (int i = 0; i < 12; ++i) {
    const double ex = (a * a - b * b) * tx * tx * tx / a, ey = (b * b - a * a) * ty * ty * ty / b;
    const double rx = a * tx - ex, ry = b * ty - ey, qx = px - ex, qy = py - ey;
    const double r = std::hypot(rx, ry), q = std::max(std::hypot(qx, qy), 1e-12);
    tx = std::clamp((qx * r / q + ex) / a, 0.0, 1.0);
    ty = std::clamp((qy * r / q + ey) / b, 0.0, 1.0);
    const double t = std::hypot(tx, ty);
    tx /= t;
    ty /= t;
  }
  return std::hypot(a * tx - px, b * ty - py);
}

// Every pixel whose whole square lies within the pen is full, every one
// whose square lies outside it untouched, and the rest in between.
void ExpectPenAround(const Canvas& c, double half, const std::function<double(double, double)>& distance) {
  constexpr double kCorner = 0.7072;  // centre to corner of a pixel
  for (int y = 0; y < c.size.height; ++y)
    for (int x = 0; x < c.size.width; ++x) {
      const double d = distance(x, y);
      if (d <= half - kCorner) {
        ASSERT_EQ(c.at(x, y), 0x12FFFFFFu) << x << "," << y << " d " << d;
      } else if (d >= half + kCorner) {
        ASSERT_EQ(c.at(x, y), kBlack) << x << "," << y << " d " << d;
      }
    }
}

TEST(CaptureStrokeRaster, TheEllipseIsThePenRoundItsOutlineAntiAliasedSymmetricAndAsThickAsThePen) {
  const Size size{200, 140};
  const Rect box{20, 20, 160, 100};  // centre (100, 70), radii 80 and 50
  const Rect all{0, 0, 200, 140};
  const Canvas five = Ellipse(size, box, 5, all);
  ExpectPenAround(five, 2.5, [&](double x, double y) { return DistanceToEllipse(box, x, y); });
  // Through the ends of the axes the pen spans whole pixels: 5 of them.
  // (The pen's edge bends away from those pixels' sides a little.)
  EXPECT_NEAR(five.cover(100, 18), 1, 0.015);
  EXPECT_NEAR(five.cover(100, 22), 1, 0.015);
  EXPECT_NEAR(five.cover(100, 23), 0, 0.015);
  EXPECT_NEAR(five.cover(17, 70), 0, 0.015);
  EXPECT_NEAR(five.cover(18, 70), 1, 0.015);
  EXPECT_EQ(five.at(100, 70), kBlack);
  // Where it runs slanted, the edges are shaded, not stepped.
  int partial = 0;
  for (uint32_t p : five.px) partial += (p & 0xFF) > 0 && (p & 0xFF) < 255;
  EXPECT_GT(partial, 300);
  // Mirror images across both axes, to the rounding of one level.
  constexpr double kLevel = 1.5 / 255;
  for (int y = 1; y < 140; ++y)
    for (int x = 1; x < 200; ++x) {
      ASSERT_NEAR(five.cover(x, y), five.cover(200 - x, y), kLevel) << x << "," << y;
      ASSERT_NEAR(five.cover(x, y), five.cover(x, 140 - y), kLevel) << x << "," << y;
    }
  // Thickness: across the outline the coverage adds up to the pen, a
  // fractional pen as it is; in all, the ring's area is its length times
  // the pen (Ramanujan's length of the ellipse).
  const Canvas half = Ellipse(size, box, 2.5, all);
  EXPECT_NEAR(five.Column(100, 0, 70), 5, 0.02);
  EXPECT_NEAR(half.Column(100, 0, 70), 2.5, 0.02);
  EXPECT_NEAR(half.Row(70, 0, 100), 2.5, 0.02);
  EXPECT_NEAR(half.cover(100, 19), 0.75, 0.01);  // the pen's edge at 18.75
  const double length = 3.14159265358979 * (3 * 130 - std::sqrt(290.0 * 230.0));
  EXPECT_NEAR(five.Total(), length * 5, length * 5 * 0.005);
  EXPECT_NEAR(half.Total(), length * 2.5, length * 2.5 * 0.005);
  // Thinner than a pixel is one pixel.
  EXPECT_NEAR(Ellipse(size, box, 0.3, all).Total(), length, length * 0.005);

  // Cut to the clip; inside it, exactly what the whole stroke paints.
  const Rect clip{100, 10, 90, 60};
  const Canvas cut = Ellipse(size, box, 5, clip);
  for (int y = 0; y < 140; ++y)
    for (int x = 0; x < 200; ++x)
      ASSERT_EQ(cut.at(x, y), clip.Contains({x, y}) ? five.at(x, y) : kBlack) << x << "," << y;
  // Opacity: alpha 0 leaves every pixel, a half-opaque pen blends.
  EXPECT_EQ(Ellipse(size, box, 5, all, 0x00FFFFFFu).px, Canvas(size).px);
  EXPECT_EQ(Ellipse(size, box, 5, all, 0x80FFFFFFu).at(100, 20), 0x12808080u);

  // A pen wider than the ellipse is thin fills its middle; one that folds
  // its inner edge over at the ends of a long ellipse leaves a clean hole.
  for (const auto& [thin, pen] : {std::pair{Rect{20, 60, 160, 16}, 20.0}, std::pair{Rect{30, 40, 140, 60}, 30.0}}) {
    const Rect b = thin;
    const Canvas c = Ellipse(size, b, pen, all);
    ExpectPenAround(c, pen / 2, [&](double x, double y) { return DistanceToEllipse(b, x, y); });
  }
  // A flat box: the pen's band along its line, round at the ends.
  const Canvas flat = Ellipse(size, Rect{50, 70, 100, 0}, 6, all);
  ExpectPenAround(flat, 3, [](double x, double y) { return std::hypot(std::max({50 - x, x - 150, 0.0}), y - 70); });
}

TEST(CaptureStrokeRaster, TheArrowIsAFlatStartedLineWithItsAnchorHeadAtTheEnd) {
  const Size size{200, 100};
  const Rect all{0, 0, 200, 100};
  Canvas c(size);
  BlendArrow(c.bits(), size, size.width, {20, 50}, {120, 50}, 5, all, kWhite);
  // The head: an equilateral triangle of side twice the pen, tip on the
  // end point, its base √3 × 5 behind it.
  const ArrowHead h = ArrowHeadOf({20, 50}, {120, 50}, 5);
  EXPECT_NEAR(h.base_left.x, 120 - 5 * std::sqrt(3.0), 1e-9);
  EXPECT_NEAR(h.base_left.y, 45, 1e-9);
  // The shaft: rows 48..52 full, nothing beside them; the flat start cuts
  // its first pixel in half.
  for (int x = 21; x <= 110; ++x) {
    ASSERT_NEAR(c.Column(x, 0, 100), 5, 1e-6) << x;
    ASSERT_EQ(c.at(x, 48), 0x12FFFFFFu);
    ASSERT_EQ(c.at(x, 47), kBlack);
  }
  EXPECT_NEAR(c.cover(20, 50), 0.5, 0.005);
  EXPECT_EQ(c.at(19, 50), kBlack);
  // The head is as wide as the triangle at every column, and ends at the tip.
  for (int x = 112; x <= 119; ++x) EXPECT_NEAR(c.Column(x, 0, 100), 2 * (120 - x) / std::sqrt(3.0), 0.01) << x;
  EXPECT_EQ(c.at(121, 50), kBlack);
  // Where shaft and head meet, they add up to whole pixels.
  EXPECT_EQ(c.at(111, 50), 0x12FFFFFFu);
  // In all: the shaft's area (100 - √3 × 5 long) and the triangle's.
  EXPECT_NEAR(c.Total(), (100 - 5 * std::sqrt(3.0)) * 5 + 25 * std::sqrt(3.0), 0.05);
  // A fractional pen as it is; a thin one keeps a head of 2 px.
  Canvas thin(size);
  BlendArrow(thin.bits(), size, size.width, {20, 50}, {120, 50}, 2.5, all, kWhite);
  EXPECT_NEAR(thin.Column(60, 0, 100), 2.5, 2.0 / 255);
  EXPECT_NEAR(thin.cover(60, 49), 0.75, 0.005);
  EXPECT_NEAR(ArrowHeadOf({0, 0}, {10, 0}, 1).base_left.y, -2, 1e-9);
  // An arrow shorter than its head is all head; one of no length draws nothing.
  EXPECT_EQ(ArrowStroke({10, 10}, {14, 10}, 5).size(), 1u);
  EXPECT_TRUE(ArrowStroke({10, 10}, {10, 10}, 5).empty());
  // Alpha 0 leaves every pixel.
  Canvas none(size);
  BlendArrow(none.bits(), size, size.width, {20, 50}, {120, 50}, 5, all, 0x0000FF00u);
  EXPECT_EQ(none.px, Canvas(size).px);
}

TEST(CaptureStrokeRaster, BigShapesTouchOnlyPixelsNearTheirOutlineInsideTheClip) {
  // Every pixel changed lies within half the pen (and half a pixel's
  // diagonal) of the outline; about the outline's length times the pen
  // are changed.
  const Size size{2400, 2100};
  auto touched = [&](const Canvas& c, const std::function<bool(double, double)>& near, size_t& stray) {
    size_t n = 0;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        if (c.at(x, y) != kBlack) {
          ++n;
          stray += !near(x, y);
        }
    return n;
  };
  size_t stray = 0;
  Canvas circle(size);  // radius 1000 round (1200, 1050)
  BlendEllipse(circle.bits(), size, size.width, {200, 50, 2000, 2000}, 5, {0, 0, 2400, 2100}, 0xFF0000FFu);
  const size_t ring = touched(
      circle, [](double x, double y) { return std::fabs(std::hypot(x - 1200, y - 1050) - 1000) <= 3.21; }, stray);
  EXPECT_EQ(stray, 0u);
  EXPECT_GT(ring, static_cast<size_t>(2 * 3.1416 * 1000 * 5));
  EXPECT_LT(ring, static_cast<size_t>(2 * 3.1416 * 1000 * 7));

  // A long slanted arrow whose head lies past the clip.
  const Rect clip{0, 0, 1800, 2100};
  const PointF from{10, 2000}, to{2390, 30};
  const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
  Canvas arrow(size);
  BlendArrow(arrow.bits(), size, size.width, {10, 2000}, {2390, 30}, 5, clip, 0xFF00FF00u);
  const size_t line = touched(
      arrow,
      [&](double x, double y) {
        const double along = ((x - from.x) * dx + (y - from.y) * dy) / len;
        const double across = std::fabs((x - from.x) * dy - (y - from.y) * dx) / len;
        return clip.Contains({static_cast<int>(x), static_cast<int>(y)}) && along >= -0.71 && across <= 3.21;
      },
      stray);
  EXPECT_EQ(stray, 0u);
  const double inside = 1790 / (dx / len);  // its length left of the clip's edge
  EXPECT_GT(line, static_cast<size_t>(inside * 5));
  EXPECT_LT(line, static_cast<size_t>(inside * 8));
  EXPECT_EQ(arrow.at(1200, 1015), 0x1200FF00u);  // on the line: the pure colour, the top byte kept
}

TEST(CaptureStrokeRaster, PackedBlendingRoundsEveryChannelAsBlendingItAloneDoes) {
  // Red and blue share a word: no carry may run from one into the other.
  for (int a = 0; a <= 255; ++a)
    for (int u = 0; u <= 255; u += 3)
      for (int o = 0; o <= 255; o += 5) {
        const uint32_t under = 0xA5000000u | (u << 16) | ((255 - u) << 8) | (u ^ 0x5A);
        const uint32_t over = (o << 16) | (((o * 7) & 0xFF) << 8) | (255 - o);
        const uint32_t want = 0xA5000000u | (BlendChannel(u, o, a) << 16) |
                              (BlendChannel(255 - u, (o * 7) & 0xFF, a) << 8) | BlendChannel(u ^ 0x5A, 255 - o, a);
        ASSERT_EQ(BlendPixel(under, over, a), want) << a << " " << u << " " << o;
      }
}

}  // namespace
}  // namespace vardo::capture
