// Anti-aliased strokes painted straight into 32-bit pixels (blue, green,
// red, and a top byte that is kept): how the ellipse and the arrow tools
// burn their shapes on release.
//
// Geometry is in overlay pixels with pixel (x, y) the unit square centred on
// (x, y), where GDI+ puts pixels by default: a line through whole
// coordinates runs through the middle of its pixels. A shape is a set of
// closed polygons; each pixel takes the colour at its opacity times the
// share of its square the shape covers, worked out exactly for the
// polygons. The work follows the shape's outline: only the pixels its edges
// cross are visited one by one, the runs between them are painted whole,
// and nothing outside the clip is looked at.
#pragma once
#include <cstdint>
#include <vector>

#include "capture/geometry.h"

namespace vardo::capture {

struct PointF {
  double x = 0;
  double y = 0;
};

using Contour = std::vector<PointF>;

// Coverage of closed polygons under the non-zero rule (overlaps count
// once), worked out row by row from the edges that cross each row.
class CoverageRaster {
 public:
  // Only pixels inside `clip` are kept.
  explicit CoverageRaster(const Rect& clip);

  // A closed polygon (the last point joins the first). Contours that only
  // touch along an edge add up to exactly the coverage of their union when
  // they run the same way round.
  void AddContour(const Contour& points);

  // Paints `argb` (0xAARRGGBB) over `pixels` (rows of `stride` pixels,
  // top-down, large enough for the clip) at its alpha times each pixel's
  // coverage. Alpha 0 changes nothing.
  void Blend(uint32_t* pixels, int stride, uint32_t argb);

 private:
  // An edge from its top to its bottom (in the pixel cells' coordinates),
  // going down (+1) or up (-1).
  struct Edge {
    double x, top, bottom, dxdy;
    float sign;
  };
  // What the edges crossing one pixel of a row add: their height, signed
  // by direction, and that height weighted by where in the pixel they cross.
  struct Cell {
    int x;
    float cover, area;
  };
  // The part of an edge within the row at hand, from `xa` to `xb`.
  void AddRowPiece(double xa, double xb, float dy);

  Rect clip_;
  std::vector<Edge> edges_;
  std::vector<Cell> row_;
};

// The pen thinner than one pixel is drawn one pixel wide, as GDI+ does.
double StrokeWidth(double width);

// The outline of the ellipse in `box` (centre at the box's centre, radii
// half its width and height) stroked by a pen of `width` centred on it:
// everything within half the pen of the outline. An outer contour and,
// when the pen leaves a hole, the hole's contour running the other way. A
// flat box gives the pen's round-ended band along its line.
std::vector<Contour> EllipseStroke(const Rect& box, double width);

// The arrow-anchor cap at the end of a line: a filled equilateral triangle
// with its tip on the end point, pointing along the line, its sides twice
// the head size long (its base 2 × size wide, √3 × size behind the tip);
// the size is the pen width, at least 2 pixels.
struct ArrowHead {
  PointF tip, base_left, base_right;
};
ArrowHead ArrowHeadOf(PointF from, PointF to, double width);

// The line from `from` to `to` drawn by a pen of `width`: flat at its start,
// with the arrow-anchor head at its end; the shaft stops at the head's
// base. Nothing for a line of no length.
std::vector<Contour> ArrowStroke(PointF from, PointF to, double width);

// The ellipse and arrow strokes above painted into `pixels` (the picture
// of `size`, rows of `stride` pixels) at the opacity of `argb`, cut to
// `clip` and the picture.
void BlendEllipse(uint32_t* pixels, Size size, int stride, const Rect& box, double width, const Rect& clip,
                  uint32_t argb);
void BlendArrow(uint32_t* pixels, Size size, int stride, Point from, Point to, double width, const Rect& clip,
                uint32_t argb);

}  // namespace vardo::capture
