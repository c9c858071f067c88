// Painting the overlay: the dimmed surface with its strokes, the text
// labels, a stroke's preview and the eraser's cursor, the outline `Sqr`,
// the eight handles `Si` and the magnifier `Va`; and the readouts of what
// is shown.
//
// A selection change repaints only what changed: the bands whose dimming
// flips, the old and the new outline and handles. That is sound because
// nothing but the dimming is on the surface while the selection can change
// (strokes are drawn only with a tool chosen, when the selection is fixed),
// and a reset, which ends the tools, runs a full pass that wipes strokes.
#include <algorithm>

#include "capture/dimming_win.h"
#include "capture/magnifier.h"
#include "capture/overlay_window_win.h"

namespace vardo {

namespace {

const COLORREF kHandleColour = RGB(255, 128, 0);

RECT ToRect(const capture::Rect& r) { return RECT{r.left, r.top, r.right(), r.bottom()}; }

uint32_t PixelAt(const MemoryCanvas& c, capture::Point p) {
  return static_cast<const uint32_t*>(c.bits())[static_cast<size_t>(p.y) * c.width() + p.x];
}

}  // namespace

void OverlayWindow::Redraw() {
  plain_ = false;
  surface_stale_ = true;
  if (model_) shown_ = Shown{model_->selection(), model_->border_width(), model_->handles()};
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void OverlayWindow::RedrawChanged() {
  if (!model_ || !hwnd()) return;
  // From the plain picture the first dimming pass covers everything.
  if (plain_) {
    Redraw();
    return;
  }
  const Shown now{model_->selection(), model_->border_width(), model_->handles()};
  // Gathered into one region: one request to the window system.
  UniqueRgn changed(CreateRectRgn(0, 0, 0, 0));
  UniqueRgn part(CreateRectRgn(0, 0, 0, 0));
  if (!changed || !part) {
    Redraw();
    return;
  }
  auto add = [&](const capture::Rect& r) {
    SetRectRgn(part.get(), r.left, r.top, r.right(), r.bottom());
    CombineRgn(changed.get(), changed.get(), part.get(), RGN_OR);
  };
  for (const capture::Rect& r : capture::DimChange(shown_.selection, now.selection, model_->surface())) add(r);
  for (const Shown* s : {static_cast<const Shown*>(&shown_), &now}) {
    for (const capture::Rect& r : capture::OutlineStrips(s->selection, s->border)) add(r);
    for (const capture::Rect& r : s->handles) add(r);
  }
  InvalidateRgn(hwnd(), changed.get(), FALSE);
  shown_ = now;
}

void OverlayWindow::EnsureSurface() {
  if (!model_) return;
  // A fixed selection always shows its dimming (and outputs are cut from
  // the surface).
  if (plain_ && model_->selected()) Redraw();
  if (plain_) return;
  if (!AwaitPrepared()) {
    plain_ = true;
    return;
  }
  if (!surface_) return;
  const capture::Rect& sel = model_->selection();
  if (surface_stale_) {
    DrawAlphaClip(surface_.dc(), pic_b_.dc(), pic_dim_.dc(), model_->surface(), sel);
  } else if (surface_sel_ != sel) {
    RedimAreas(surface_.dc(), pic_b_.dc(), pic_dim_.dc(), model_->surface(), sel,
               capture::DimChange(surface_sel_, sel, model_->surface()));
  } else {
    return;
  }
  GdiFlush();
  surface_stale_ = false;
  surface_sel_ = sel;
}

void OverlayWindow::OnPaint(HDC dc, const RECT& u) {
  if (!model_) return;
  EnsureSurface();
  const MemoryCanvas& shown = plain_ ? pic_b_ : surface_;
  if (!shown) return;
  BitBlt(dc, u.left, u.top, u.right - u.left, u.bottom - u.top, shown.dc(), u.left, u.top, SRCCOPY);
  text_.Paint(dc);
  tools_.Paint(dc);
  HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
  const capture::Rect& sel = model_->selection();
  if (sel.width > 0 || sel.height > 0) {
    for (const capture::Rect& s : capture::OutlineStrips(sel, model_->border_width())) {
      const RECT r = ToRect(s);
      FillRect(dc, &r, highlight);
    }
  }
  if (model_->selected()) {
    UniqueBrush orange(CreateSolidBrush(kHandleColour));
    for (const capture::Rect& h : model_->handles()) {
      const RECT r = ToRect(h);
      FillRect(dc, &r, orange.get());
    }
  }
  // The update region, not just its bounds: a burn's strips round a big
  // shape span the magnifier without touching it.
  const RECT m = va_.rect();
  if (RectVisible(dc, &m)) va_.Paint(dc);
}

uint32_t OverlayWindow::SurfaceColourAt(capture::Point p) {
  if (!model_ || !pic_b_) return 0;
  const capture::Size s = model_->surface();
  p.x = std::clamp(p.x, 0, s.width - 1);
  p.y = std::clamp(p.y, 0, s.height - 1);
  uint32_t px = 0;
  if (plain_ || !AwaitPrepared()) {
    px = PixelAt(pic_b_, p);
  } else if (!surface_stale_ && surface_sel_ == model_->selection()) {
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
  const RECT before = va_.Update(cursor, SurfaceColourAt(cursor), capture::Size{sel.width, sel.height}, pic_b_);
  if (!hwnd()) return;
  const RECT after = va_.rect();
  RECT both;
  if (IntersectRect(&both, &before, &after)) {
    UnionRect(&both, &before, &after);
    InvalidateRect(hwnd(), &both, FALSE);
  } else {
    InvalidateRect(hwnd(), &before, FALSE);
    InvalidateRect(hwnd(), &after, FALSE);
  }
}

}  // namespace vardo
