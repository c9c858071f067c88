// Painting the overlay: the dimmed surface, the outline `Sqr` and the
// eight handles `Si`; and the magnifier's readouts of what is shown.
#include <algorithm>

#include "capture/dimming_win.h"
#include "capture/magnifier.h"
#include "capture/overlay_window_win.h"

namespace vardo {

namespace {

const COLORREF kHandleColour = RGB(255, 128, 0);

// An outline of width `bw` drawn inside `r`.
void FrameInside(HDC dc, const capture::Rect& r, int bw, HBRUSH brush) {
  if (r.width <= 0 && r.height <= 0) return;
  const RECT strips[4] = {
      {r.left, r.top, r.right(), r.top + bw},
      {r.left, r.bottom() - bw, r.right(), r.bottom()},
      {r.left, r.top, r.left + bw, r.bottom()},
      {r.right() - bw, r.top, r.right(), r.bottom()},
  };
  for (const RECT& s : strips) {
    // Thin selections: the strips overlap rather than turn inside out.
    RECT c{s.left, s.top, std::max(s.right, s.left + 1), std::max(s.bottom, s.top + 1)};
    if (c.left < r.left) c.left = r.left;
    if (c.top < r.top) c.top = r.top;
    FillRect(dc, &c, brush);
  }
}

uint32_t PixelAt(const MemoryCanvas& c, capture::Point p) {
  return static_cast<const uint32_t*>(c.bits())[static_cast<size_t>(p.y) * c.width() + p.x];
}

}  // namespace

void OverlayWindow::Redraw() {
  surface_stale_ = true;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void OverlayWindow::EnsureSurface() {
  if (!surface_stale_ || !model_ || !surface_) return;
  DrawAlphaClip(surface_.dc(), pic_b_.dc(), pic_dim_.dc(), model_->surface(), model_->selection());
  GdiFlush();
  surface_stale_ = false;
}

void OverlayWindow::OnPaint(HDC dc, const RECT& u) {
  if (!model_ || !surface_) return;
  EnsureSurface();
  BitBlt(dc, u.left, u.top, u.right - u.left, u.bottom - u.top, surface_.dc(), u.left, u.top, SRCCOPY);
  HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
  FrameInside(dc, model_->selection(), model_->border_width(), highlight);
  if (!model_->selected()) return;
  UniqueBrush orange(CreateSolidBrush(kHandleColour));
  for (const capture::Rect& h : model_->handles()) {
    RECT r{h.left, h.top, h.right(), h.bottom()};
    FillRect(dc, &r, orange.get());
  }
}

uint32_t OverlayWindow::SurfaceColourAt(capture::Point p) const {
  if (!model_ || !surface_) return 0;
  const capture::Size s = model_->surface();
  p.x = std::clamp(p.x, 0, s.width - 1);
  p.y = std::clamp(p.y, 0, s.height - 1);
  uint32_t px = 0;
  if (!surface_stale_) {
    GdiFlush();
    px = PixelAt(surface_, p);
  } else {
    // The pending pass will show exactly this: the frozen picture inside
    // the selection, its darkened copy around it.
    px = capture::UndimmedArea(model_->selection(), s).Contains(p) ? PixelAt(pic_b_, p) : PixelAt(pic_dim_, p);
  }
  return capture::ColourOfPixel(px & 0xFFFFFF);
}

void OverlayWindow::UpdateMagnifier(capture::Point cursor) {
  if (!model_) return;
  const capture::Rect& sel = model_->selection();
  va_.Update(cursor, SurfaceColourAt(cursor), capture::Size{sel.width, sel.height}, pic_b_);
}

}  // namespace vardo
