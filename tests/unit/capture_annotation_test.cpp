// Strokes of the overlay's drawing tools and its text labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "capture/annotation.h"
#include "capture/pixel_blend.h"
#include "capture/text_labels.h"

namespace vardo::capture {
namespace {

constexpr Rect kSel{100, 200, 300, 150};  // right 400, bottom 350

TEST(CaptureStroke, PreviewSpansEveryDragDirectionAndStopsAtTheSelectionEdge) {
  const struct {
    Point press, to;
    Rect box;
  } cases[] = {
      {{150, 250}, {200, 300}, {150, 250, 50, 50}},    // down-right
      {{150, 250}, {120, 210}, {120, 210, 30, 40}},    // up-left
      {{150, 250}, {180, 220}, {150, 220, 30, 30}},    // up-right
      {{150, 250}, {130, 290}, {130, 250, 20, 40}},    // down-left
      {{150, 250}, {900, 900}, {150, 250, 250, 100}},  // past the bottom-right: clamped
      {{150, 250}, {-50, 20}, {100, 200, 50, 50}},     // past the top-left: clamped
  };
  for (const auto& c : cases) {
    Stroke s(Tool::Rectangle, c.press, kSel, 5);
    EXPECT_FALSE(s.HasExtent());
    s.MoveTo({c.to.x / 2, c.to.y / 2});
    EXPECT_FALSE(s.MoveTo(c.to).has_value());  // shapes paint nothing while dragging
    EXPECT_EQ(s.box(), c.box) << c.to.x << "," << c.to.y;
    EXPECT_TRUE(s.HasExtent());
  }
  // The arrow starts at the press point and ends at the clamped pointer.
  Stroke arrow(Tool::Arrow, {390, 340}, kSel, 3);
  arrow.MoveTo({1000, 100});
  EXPECT_EQ(arrow.start(), (Point{390, 340}));
  EXPECT_EQ(arrow.current(), (Point{400, 200}));
}

TEST(CaptureStroke, PenTakesColourAlphaAndFractionalWidth) {
  StrokePen p = MakeStrokePen(0x0000FF /* red */, 255, 5);
  EXPECT_EQ(p.argb, 0xFFFF0000u);
  EXPECT_EQ(p.preview_width(), 5);
  p = MakeStrokePen(0xC08000 /* blue 192, green 128 */, 127.9, 2.5);
  EXPECT_EQ(p.argb, 0x7F0080C0u);
  EXPECT_DOUBLE_EQ(p.width, 2.5);
  EXPECT_EQ(p.preview_width(), 2);
  EXPECT_EQ(MakeStrokePen(0xFFFFFF, 0, 1).argb, 0x00FFFFFFu);
}

TEST(CaptureStroke, EraserPaintsSegmentsFromTheLastPointInsideTheSelection) {
  Stroke e(Tool::Eraser, {90, 260}, kSel, 10);
  EXPECT_EQ(e.EraserDab(), (Rect{95, 255, 10, 10}));  // round the clamped press point
  auto s = e.MoveTo({150, 260});
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->from, (Point{100, 260}));
  EXPECT_EQ(s->to, (Point{150, 260}));
  s = e.MoveTo({160, 500});
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->from, (Point{150, 260}));
  EXPECT_EQ(s->to, (Point{160, 350}));
  EXPECT_EQ(EraserCursor({500, 500}, 7.5), (Rect{497, 497, 7, 7}));
}

TEST(CaptureStroke, WhatAStrokeCanTouchCoversItsPenAndNoMore) {
  // A horizontal segment: the quad reaches `half` across and `extend` past
  // each end; a diagonal one keeps its width across the slant.
  auto q = SegmentQuad({10, 20}, {110, 20}, 3, 2);
  EXPECT_EQ(q[0], (Point{8, 17}));
  EXPECT_EQ(q[1], (Point{112, 17}));
  EXPECT_EQ(q[2], (Point{112, 23}));
  EXPECT_EQ(q[3], (Point{8, 23}));
  q = SegmentQuad({0, 0}, {30, 40}, 5, 0);  // along (0.6, 0.8), across (-0.8, 0.6)
  EXPECT_EQ(q[0], (Point{4, -3}));
  EXPECT_EQ(q[2], (Point{26, 43}));
  // A click draws no segment: the square round its point.
  q = SegmentQuad({50, 50}, {50, 50}, 4, 4);
  EXPECT_EQ(q[0], (Point{46, 46}));
  EXPECT_EQ(q[2], (Point{54, 54}));
  // The arrow's preview fills rows 18..22 for a pen of 5 on row 20, either
  // way along; a pen of 1 one row; a vertical line the columns likewise.
  for (const auto& [from, to] : {std::pair{Point{10, 20}, Point{110, 20}}, std::pair{Point{110, 20}, Point{10, 20}}}) {
    const auto p = PreviewLineQuad(from, to, 5);
    EXPECT_EQ(std::min(p[0].y, p[2].y), 18);
    EXPECT_EQ(std::max(p[0].y, p[2].y), 23);
    const auto thin = PreviewLineQuad(from, to, 1);
    EXPECT_EQ(std::min(thin[0].y, thin[2].y), 20);
    EXPECT_EQ(std::max(thin[0].y, thin[2].y), 21);
  }
  q = PreviewLineQuad({40, 90}, {40, 10}, 4);
  EXPECT_EQ(std::min(q[0].x, q[2].x), 38);
  EXPECT_EQ(std::max(q[0].x, q[2].x), 42);
  EXPECT_EQ(HalfPen(5), 3);
  EXPECT_EQ(HalfPen(2.5), 2);
  EXPECT_EQ(HalfPen(-1), 0);
  EXPECT_GE(ArrowHeadReach(1), 2 * HalfPen(2));
  EXPECT_GT(ArrowHeadReach(10), ArrowHeadReach(5));
  EXPECT_EQ(Grow({10, 10, 20, 6}, 2), (Rect{8, 8, 24, 10}));
  EXPECT_EQ(Grow({10, 10, 20, 6}, -4), (Rect{14, 13, 12, 0}));  // never inside out
}

bool Covered(const std::vector<Rect>& strips, Point p) {
  for (const Rect& r : strips)
    if (r.Contains(p)) return true;
  return false;
}

bool Disjoint(const std::vector<Rect>& strips) {
  for (size_t i = 0; i < strips.size(); ++i)
    for (size_t j = i + 1; j < strips.size(); ++j)
      if (strips[i].Intersects(strips[j])) return false;
  return true;
}

TEST(CaptureStroke, TheStripsOfWhatAStrokeTouchesAreDisjointAndCoverItsPen) {
  // Every pixel the preview's ring shows and every point along an arrow's
  // pen lies in the strips that get repainted; none is repainted twice.
  for (const Rect box : {Rect{100, 100, 600, 300}, Rect{50, 40, 8, 200}, Rect{10, 10, 3, 3}}) {
    for (int width : {1, 5, 20}) {
      const std::vector<Rect> strips = StrokeStrips(Tool::Ellipse, box, {}, {}, width, false, 12);
      EXPECT_TRUE(Disjoint(strips));
      for (const Rect& px : EllipseRing(box, width))
        for (int x = px.left; x < px.right(); ++x) ASSERT_TRUE(Covered(strips, {x, px.top})) << x << "," << px.top;
      const std::vector<Rect> frame = StrokeStrips(Tool::Rectangle, box, {}, {}, width, false, 12);
      EXPECT_TRUE(Disjoint(frame));
      for (const Rect& px : CrispFrame(box, width)) {
        EXPECT_TRUE(Covered(frame, {px.left, px.top}));
        EXPECT_TRUE(Covered(frame, {px.right() - 1, px.bottom() - 1}));
      }
    }
  }
  const Point from{100, 700}, to{900, 120};
  const std::vector<Rect> arrow = StrokeStrips(Tool::Arrow, {}, from, to, 5, true, 12);
  EXPECT_TRUE(Disjoint(arrow));
  for (int i = 0; i <= 100; ++i) {
    const Point p{from.x + (to.x - from.x) * i / 100, from.y + (to.y - from.y) * i / 100};
    for (int d : {-3, 0, 3}) ASSERT_TRUE(Covered(arrow, {p.x + d, p.y})) << i;
  }
  for (int d : {-ArrowHeadReach(5), ArrowHeadReach(5)}) EXPECT_TRUE(Covered(arrow, {to.x + d, to.y + d}));
  // Few rectangles: a strip of rows holds at most two.
  EXPECT_LE(StrokeStrips(Tool::Ellipse, {0, 0, 1000, 600}, {}, {}, 5, false, 12).size(), 2u * (620 / 12 + 2));
}

TEST(CaptureStroke, TheRectangleBurnsACrispFrameAtItsOpacity) {
  // Pen 5 over the edges at 10 and 30: columns 8..12 and 28..32.
  std::vector<Rect> f = CrispFrame({10, 10, 20, 20}, 5);
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0], (Rect{8, 8, 25, 5}));   // top
  EXPECT_EQ(f[1], (Rect{8, 28, 25, 5}));  // bottom
  EXPECT_EQ(f[2], (Rect{8, 13, 5, 15}));  // left
  EXPECT_EQ(f[3], (Rect{28, 13, 5, 15}));  // right
  // 2.5 takes three pixels, a hair one, a pen filling the box the box.
  EXPECT_EQ(CrispFrame({10, 10, 20, 20}, 2.5)[2].width, 3);
  EXPECT_EQ(CrispFrame({10, 10, 20, 20}, 0.2)[2].width, 1);
  EXPECT_EQ(CrispFrame({10, 10, 4, 4}, 9), (std::vector<Rect>{{6, 6, 13, 13}}));

  std::vector<uint32_t> px(8 * 4, 0xFF204060u);
  BlendRect(px.data(), {8, 4}, 8, {-2, 1, 5, 2}, {0, 0, 8, 3}, 0xFFFF0000u);  // opaque red, cut to the clip
  EXPECT_EQ(px[8 * 1 + 2], 0xFFFF0000u);
  EXPECT_EQ(px[8 * 1 + 3], 0xFF204060u);
  EXPECT_EQ(px[8 * 2 + 0], 0xFFFF0000u);
  EXPECT_EQ(px[8 * 0 + 0], 0xFF204060u);
  BlendRect(px.data(), {8, 4}, 8, {0, 3, 8, 1}, {0, 0, 8, 4}, 0x80FFFFFFu);  // half white
  EXPECT_EQ(px[8 * 3 + 5], 0xFF90A0B0u);
  const std::vector<uint32_t> before = px;
  BlendRect(px.data(), {8, 4}, 8, {0, 0, 8, 4}, {0, 0, 8, 4}, 0x00FF00FFu);  // alpha 0
  EXPECT_EQ(px, before);
}

TEST(CaptureTextLabels, TheBoxGrowsWithItsTextAndLabelsDrawTheirTextWhereTheBoxShowedIt) {
  EXPECT_EQ(TextBoxSize({57, 18}, 18, 16), (Size{73, 34}));
  EXPECT_EQ(TextBoxSize({120, 54}, 18, 16), (Size{136, 70}));  // three lines
  EXPECT_EQ(TextBoxSize({0, 0}, 18, 24), (Size{24, 42}));      // empty: one line high
  EXPECT_EQ(TextOrigin({300, 200, 73, 34}, 16), (Point{308, 208}));
}

TEST(CaptureTextLabels, CommitEditMoveAndDeleteKeepEveryOtherLabelAndTheNextIndex) {
  TextLabels t;
  const FontSpec font{"Tahoma", 12, true};
  EXPECT_EQ(t.Commit({10, 10, 50, 30}, "one", 0x0000FF, font), 1);
  EXPECT_EQ(t.Commit({100, 10, 50, 30}, "", 0x00FF00, font), 2);  // an empty box makes an empty label
  EXPECT_EQ(t.Commit({10, 100, 50, 30}, "three", 0xFF0000, FontSpec{"Courier", 9}), 3);
  EXPECT_EQ(t.LabelAt({20, 20}), 1);
  EXPECT_EQ(t.LabelAt({5, 5}), 0);

  // Edit label 1: hidden while open, then it takes the text and the box's
  // size and keeps its place, colour and font.
  ASSERT_TRUE(t.BeginEdit(1));
  EXPECT_EQ(t.LabelAt({20, 20}), 0);
  EXPECT_EQ(t.editing(), 1);
  EXPECT_EQ(t.Commit({300, 300, 80, 30}, "one more", 0x000000, FontSpec{"Other", 20}), 1);
  const TextLabel* one = t.Find(1);
  ASSERT_TRUE(one);
  EXPECT_EQ(one->box, (Rect{10, 10, 80, 30}));
  EXPECT_EQ(one->text, "one more");
  EXPECT_EQ(one->colour, 0x0000FFu);
  EXPECT_EQ(one->font, font);
  EXPECT_EQ(t.editing(), 0);
  EXPECT_EQ(t.next_index(), 4);

  // Moving puts a label on top of the ones it covers.
  t.MoveTo(3, {20, 15});
  EXPECT_EQ(t.LabelAt({30, 20}), 3);
  EXPECT_TRUE(t.Delete(3));
  EXPECT_FALSE(t.Delete(3));
  EXPECT_EQ(t.LabelAt({30, 20}), 1);
  ASSERT_EQ(t.labels().size(), 2u);
  EXPECT_EQ(t.next_index(), 4);
  EXPECT_EQ(t.Commit({0, 0, 1, 1}, "four", 0, font), 4);
}

TEST(CaptureTextLabels, IndicesStopAtTheLastOneWithoutChangingAnything) {
  TextLabels t;
  for (int i = 1; i <= TextLabels::kLastIndex; ++i) ASSERT_EQ(t.Commit({i % 500, 0, 5, 5}, "x", 0, {}), i);
  EXPECT_FALSE(t.Commit({0, 0, 5, 5}, "one too many", 0, {}).has_value());
  EXPECT_EQ(t.labels().size(), static_cast<size_t>(TextLabels::kLastIndex));
  // Editing still works once the indices are used up.
  ASSERT_TRUE(t.BeginEdit(7));
  EXPECT_EQ(t.Commit({0, 0, 9, 9}, "edited", 0, {}), 7);
  EXPECT_EQ(t.Find(7)->text, "edited");
}

}  // namespace
}  // namespace vardo::capture
