// Burning the drawing tools' strokes into the overlay's surface: shapes on
// release, drawn by our own routines straight into the surface's pixels at
// a cost that follows their outlines; the eraser's dab and segments while
// it moves, with GDI+ over the same pixels (a bitmap over the DIB section's
// own memory), so nothing is copied per stroke.
#pragma once
#include <windows.h>

#include "capture/annotation.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"

namespace vardo {

// A GDI+ bitmap over a 32-bit top-down DIB canvas's pixels; drawing on it
// changes the canvas. Null when the canvas has no pixels of its own.
GpBitmapPtr WrapCanvas(const MemoryCanvas& canvas);

// Draws the finished rectangle, ellipse or arrow of `stroke` with `pen`
// into `canvas`, clipped to `clip`: the rectangle with crisp edges, the
// ellipse and the arrow (arrow-anchor head at its end) anti-aliased. Other
// tools draw nothing here.
void BurnShape(const MemoryCanvas& canvas, const capture::Stroke& stroke, const capture::StrokePen& pen,
               const capture::Rect& clip);

// The eraser: a round pen of the given width whose paint is the clean
// frozen picture, lined up with the screen, so it paints the frozen pixels
// back over anything drawn.
class EraserPen {
 public:
  // False when GDI+ could not make the brush (the eraser then paints
  // nothing).
  bool Begin(Gdiplus::GpBitmap* target, Gdiplus::GpBitmap* clean, double width, const capture::Rect& clip);
  // The first dab: the circle in `box`.
  void Dab(const capture::Rect& box);
  void Segment(capture::Point from, capture::Point to);
  void End();
  bool active() const { return pen_ != nullptr; }

 private:
  GpGraphicsPtr graphics_;
  GpBrushPtr brush_;
  GpPenPtr pen_;
};

}  // namespace vardo
