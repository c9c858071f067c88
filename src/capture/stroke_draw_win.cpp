#include "capture/stroke_draw_win.h"

#include "capture/pixel_blend.h"
#include "capture/stroke_raster.h"

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

void BurnShape(const MemoryCanvas& canvas, const capture::Stroke& stroke, const capture::StrokePen& pen,
               const capture::Rect& clip) {
  const capture::Tool tool = stroke.tool();
  if (tool != capture::Tool::Rectangle && tool != capture::Tool::Ellipse && tool != capture::Tool::Arrow) return;
  if ((pen.argb >> 24) == 0 || !stroke.HasExtent() || !canvas.bits()) return;
  // GDI may still be drawing into the surface.
  GdiFlush();
  auto* bits = static_cast<uint32_t*>(canvas.bits());
  const capture::Size size{canvas.width(), canvas.height()};
  switch (tool) {
    case capture::Tool::Rectangle:
      // What GDI+ draws for a rectangle without smoothing.
      for (const capture::Rect& r : capture::CrispFrame(stroke.box(), pen.width))
        capture::BlendRect(bits, size, canvas.width(), r, clip, pen.argb);
      break;
    case capture::Tool::Ellipse:
      capture::BlendEllipse(bits, size, canvas.width(), stroke.box(), pen.width, clip, pen.argb);
      break;
    default:
      capture::BlendArrow(bits, size, canvas.width(), stroke.start(), stroke.current(), pen.width, clip, pen.argb);
      break;
  }
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
