#include "capture/stroke_draw_win.h"

#include "capture/pixel_blend.h"

namespace vardo {

namespace {

using Gdiplus::GpGraphics;

GpGraphicsPtr GraphicsOn(Gdiplus::GpBitmap* target, const capture::Rect& clip) {
  GpGraphics* g = nullptr;
  if (!target || gp::GdipGetImageGraphicsContext(target, &g) != Gdiplus::Ok) return nullptr;
  GpGraphicsPtr graphics(g);
  gp::GdipSetClipRectI(g, clip.left, clip.top, clip.width, clip.height, Gdiplus::CombineModeReplace);
  return graphics;
}

}  // namespace

GpBitmapPtr WrapCanvas(const MemoryCanvas& canvas) {
  if (!canvas.bits()) return nullptr;
  Gdiplus::GpBitmap* b = nullptr;
  if (gp::GdipCreateBitmapFromScan0(canvas.width(), canvas.height(), canvas.width() * 4, PixelFormat32bppRGB,
                                    static_cast<BYTE*>(canvas.bits()), &b) != Gdiplus::Ok)
    return nullptr;
  return GpBitmapPtr(b);
}

void BurnShape(const MemoryCanvas& canvas, Gdiplus::GpBitmap* over, const capture::Stroke& stroke,
               const capture::StrokePen& pen, const capture::Rect& clip) {
  const capture::Tool tool = stroke.tool();
  if (tool != capture::Tool::Rectangle && tool != capture::Tool::Ellipse && tool != capture::Tool::Arrow) return;
  // Nothing visible, and GDI+ would only spend time on it.
  if ((pen.argb >> 24) == 0 || !stroke.HasExtent()) return;
  GdiFlush();
  if (tool == capture::Tool::Rectangle) {
    // What GDI+ draws for a rectangle without smoothing, at the cost of
    // its frame's pixels rather than of its whole box.
    for (const capture::Rect& r : capture::CrispFrame(stroke.box(), pen.width))
      capture::BlendRect(static_cast<uint32_t*>(canvas.bits()), capture::Size{canvas.width(), canvas.height()},
                         canvas.width(), r, clip, pen.argb);
    return;
  }
  GpGraphicsPtr g = GraphicsOn(over, clip);
  if (!g) return;
  Gdiplus::GpPen* p = nullptr;
  if (gp::GdipCreatePen1(pen.argb, static_cast<Gdiplus::REAL>(pen.width), Gdiplus::UnitPixel, &p) != Gdiplus::Ok)
    return;
  GpPenPtr owned(p);
  const capture::Rect box = stroke.box();
  const capture::Point a = stroke.start(), b = stroke.current();
  gp::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeAntiAlias);
  if (tool == capture::Tool::Ellipse) {
    gp::GdipDrawEllipseI(g.get(), p, box.left, box.top, box.width, box.height);
  } else {
    gp::GdipSetPenEndCap(p, Gdiplus::LineCapArrowAnchor);
    gp::GdipDrawLineI(g.get(), p, a.x, a.y, b.x, b.y);
  }
  gp::GdipFlush(g.get(), Gdiplus::FlushIntentionSync);
}

bool EraserPen::Begin(Gdiplus::GpBitmap* target, Gdiplus::GpBitmap* clean, double width, const capture::Rect& clip) {
  End();
  if (!clean || width <= 0) return false;
  GdiFlush();
  graphics_ = GraphicsOn(target, clip);
  if (!graphics_) return false;
  // The clean picture is screen-sized from 0,0: the texture lines up with
  // the screen, and the nearest pixel is taken as it is.
  Gdiplus::GpTexture* texture = nullptr;
  if (gp::GdipCreateTexture(clean, Gdiplus::WrapModeTileFlipX, &texture) != Gdiplus::Ok) {
    End();
    return false;
  }
  brush_.reset(texture);
  Gdiplus::GpPen* p = nullptr;
  if (gp::GdipCreatePen2(brush_.get(), static_cast<Gdiplus::REAL>(width), Gdiplus::UnitPixel, &p) != Gdiplus::Ok) {
    End();
    return false;
  }
  pen_.reset(p);
  gp::GdipSetPenStartCap(p, Gdiplus::LineCapRound);
  gp::GdipSetPenEndCap(p, Gdiplus::LineCapRound);
  gp::GdipSetSmoothingMode(graphics_.get(), Gdiplus::SmoothingModeAntiAlias);
  gp::GdipSetInterpolationMode(graphics_.get(), Gdiplus::InterpolationModeNearestNeighbor);
  return true;
}

void EraserPen::Dab(const capture::Rect& box) {
  if (!pen_) return;
  gp::GdipFillEllipseI(graphics_.get(), brush_.get(), box.left, box.top, box.width, box.height);
  gp::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
}

void EraserPen::Segment(capture::Point from, capture::Point to) {
  if (!pen_) return;
  gp::GdipDrawLine(graphics_.get(), pen_.get(), static_cast<Gdiplus::REAL>(from.x), static_cast<Gdiplus::REAL>(from.y),
                   static_cast<Gdiplus::REAL>(to.x), static_cast<Gdiplus::REAL>(to.y));
  gp::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
}

void EraserPen::End() {
  pen_.reset();
  brush_.reset();
  graphics_.reset();
}

}  // namespace vardo
