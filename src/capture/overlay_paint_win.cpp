// Painting the overlay: the dimmed surface, the outline `Sqr` and the
// eight handles `Si`.
#include <algorithm>

#include "capture/dimming_win.h"
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

}  // namespace

void OverlayWindow::Redraw() {
  surface_stale_ = true;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void OverlayWindow::Paint(HDC dc, const RECT& u) {
  if (!model_ || !surface_) return;
  if (surface_stale_) {
    DrawAlphaClip(surface_.dc(), pic_b_.dc(), pic_dim_.dc(), model_->surface(), model_->selection());
    surface_stale_ = false;
  }
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

}  // namespace vardo
