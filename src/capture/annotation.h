// The drawing tools of the capture overlay: how a stroke runs from press to
// release, in overlay pixels. A stroke stays inside the selection: the
// current point is clamped to it, and whatever the press point leaves
// outside is clipped when drawn.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "capture/geometry.h"

namespace vardo::capture {

// Tool numbers as the overlay's tool mode holds them.
enum class Tool : int { Rectangle = 0, Ellipse = 1, Text = 2, Arrow = 3, Eraser = 4 };

// The pen of a stroke: the current colour (0x00BBGGRR) at the opacity of
// "亮度" (0..255, its integer part), as GDI+'s 0xAARRGGBB, and the width of
// "粗细" in pixels, fractional widths kept.
struct StrokePen {
  uint32_t argb = 0;
  double width = 0;
  // The preview's border is drawn in whole pixels.
  int preview_width() const { return static_cast<int>(width); }
};
StrokePen MakeStrokePen(uint32_t colour, double alpha, double width);

// The box spanned by two points, whichever way the drag went.
Rect SpanBox(Point from, Point to);

// A point limited to the selection, edges included.
Point ClampToSelection(Point p, const Rect& selection);

// One stroke, from the press to the release.
class Stroke {
 public:
  struct Segment {
    Point from, to;
  };

  // `width` is the pen width (the eraser's diameter).
  Stroke(Tool tool, Point press, const Rect& selection, double width);

  // A move with the button held: the current point follows, clamped. For
  // the eraser, the returned segment is what to paint back now.
  std::optional<Segment> MoveTo(Point p);

  Tool tool() const { return tool_; }
  // The press point (also the arrow's start).
  Point start() const { return start_; }
  // The current point, inside the selection.
  Point current() const { return current_; }
  // Rectangle, ellipse and text box: from the press point to the current one.
  Rect box() const { return SpanBox(start_, current_); }
  // Whether the release leaves anything to draw: a click without a move
  // draws no shape.
  bool HasExtent() const { return start_ != current_; }
  // The eraser's first dab: the circle of the pen's diameter round the
  // (clamped) press point, in whole pixels.
  Rect EraserDab() const;

 private:
  Tool tool_;
  Rect selection_;
  double width_;
  Point start_;
  Point current_;
  Point last_;
};

// The eraser's grey round cursor: the pen's diameter, centred on the pointer.
Rect EraserCursor(Point pointer, double width);

// `r` grown by `by` on every side (shrunk for a negative `by`, never below
// an empty rectangle at its centre).
Rect Grow(const Rect& r, int by);

// Half a pen of `width` rounded up: how far a stroke reaches past its line.
int HalfPen(double width);

// The quadrilateral round the segment from `a` to `b`, `half` pixels to
// each side and `extend` pixels past each end: what a straight stroke can
// touch. A segment of no length gives the square round its point.
std::array<Point, 4> SegmentQuad(Point a, Point b, int half, int extend);

// The arrow's preview: the quadrilateral along the line from `a` to `b`,
// flat at both ends, that fills `width` whole pixels across it (a fill
// takes the pixels whose centres lie inside, down to but not on its lower
// and right edges), on the same pixels as the burnt pen where it covers
// them wholly. At least one pixel.
std::array<Point, 4> PreviewLineQuad(Point a, Point b, int width);

// What a pen reaching `reach` pixels to each side of the outline of the
// ellipse in `box` can touch, as horizontal strips `rows` high: at most two
// rectangles a strip, each a little larger than the ring it covers. Few
// rectangles keep a repaint's clipping cheap.
std::vector<Rect> EllipseFrameStrips(const Rect& box, int reach, int rows);

// The ellipse in `box` outlined `width` pixels wide round its edge, as one
// or two spans a row: how the preview draws it.
std::vector<Rect> EllipseRing(const Rect& box, int width);

// The rectangle tool's crisp frame: a pen of `width` centred on the box's
// edges (the lines through its left and right, top and bottom, right and
// bottom included) covers the pixels whose centres lie in the pen, at
// least one a side. Four disjoint strips; the whole box when the pen
// fills it.
std::vector<Rect> CrispFrame(const Rect& box, double width);

// The rectangle's frame of `reach` pixels to each side of its edges, as
// four strips.
std::vector<Rect> RectFrameStrips(const Rect& box, int reach);

// A convex quadrilateral (as SegmentQuad gives) as horizontal strips
// `rows` high, each the quadrilateral's extent within its rows; with
// `also`, each strip spans that rectangle's part of its rows too.
std::vector<Rect> QuadStrips(const std::array<Point, 4>& quad, int rows, const Rect& also = Rect{});

// What a stroke of `tool` (its box, or its line from `from` to `to`) with a
// pen of `width` can touch, as disjoint horizontal strips about `rows`
// high; `head` adds the arrow's head at `to`. The offset of an ellipse is
// not an ellipse: its frame reaches half as far again, which covers it.
std::vector<Rect> StrokeStrips(Tool tool, const Rect& box, Point from, Point to, double width, bool head, int rows);

// How far from the end point the arrow-anchor head of an arrow drawn with
// a pen of `width` reaches, its shaded edge included.
int ArrowHeadReach(double width);

}  // namespace vardo::capture
