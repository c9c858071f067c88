#include "capture/overlay_tools_win.h"

#include <algorithm>

namespace vardo {

namespace {

using capture::Tool;

const COLORREF kEraserCursor = RGB(128, 128, 128);

UniqueRgn EmptyRgn() { return UniqueRgn(CreateRectRgn(0, 0, 0, 0)); }

// One region from many rectangles in a single call.
UniqueRgn RegionOf(const std::vector<capture::Rect>& rects) {
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + sizeof(RECT) * std::max<size_t>(rects.size(), 1));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nRgnSize = static_cast<DWORD>(sizeof(RECT) * rects.size());
  RECT bounds{0, 0, 0, 0};
  auto* out = reinterpret_cast<RECT*>(data->Buffer);
  DWORD n = 0;
  for (const capture::Rect& r : rects) {
    if (r.Empty()) continue;
    out[n] = RECT{r.left, r.top, r.right(), r.bottom()};
    UnionRect(&bounds, &bounds, &out[n]);
    ++n;
  }
  data->rdh.nCount = n;
  data->rdh.rcBound = bounds;
  if (n == 0) return EmptyRgn();
  return UniqueRgn(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

// Strips of this many rows keep the regions to a few rectangles while
// adding little area.
constexpr int kStripRows = 12;

}  // namespace

void OverlayTools::Attach(HWND overlay, const MemoryCanvas& surface, const MemoryCanvas& clean) {
  overlay_ = overlay;
  canvas_ = &surface;
  surface_ = WrapCanvas(surface);
  clean_ = WrapCanvas(clean);
  mode_ = -1;
}

void OverlayTools::Detach() {
  eraser_.End();
  stroke_.reset();
  preview_.reset();
  preview_area_.reset();
  cursor_.reset();
  surface_.reset();
  clean_.reset();
  canvas_ = nullptr;
  overlay_ = nullptr;
  mode_ = -1;
}

void OverlayTools::Choose(int mode, const capture::Rect& selection) {
  if (stroke_) Release();
  mode_ = mode;
  clip_ = selection;
  if (mode != static_cast<int>(Tool::Eraser)) ShowCursor(std::nullopt);
}

void OverlayTools::Reset() {
  eraser_.End();
  stroke_.reset();
  ShowPreview(std::nullopt);
  ShowCursor(std::nullopt);
  mode_ = -1;
}

void OverlayTools::Press(capture::Point p, const capture::ToolStyle& style) {
  if (mode_ < 0 || mode_ > static_cast<int>(Tool::Eraser)) return;
  const Tool tool = static_cast<Tool>(mode_);
  const double width = style.width.value();
  pen_ = capture::MakeStrokePen(style.colour, style.alpha.value(), width);
  colour_ = style.colour;
  stroke_.emplace(tool, p, clip_, width);
  if (tool == Tool::Eraser) {
    if (eraser_.Begin(surface_.get(), clean_.get(), width, clip_)) {
      const capture::Rect dab = stroke_->EraserDab();
      eraser_.Dab(dab);
      Invalidate(capture::Grow(dab, 2));
    }
    ShowCursor(capture::EraserCursor(p, width));
    return;
  }
  ShowPreview(Preview{tool, stroke_->box(), stroke_->start(), stroke_->current(), std::max(1, pen_.preview_width()),
                      colour_});
}

void OverlayTools::Move(capture::Point p, bool left_down, double width) {
  // The eraser's cursor follows, pressed or not, as wide as the pen.
  if (mode_ == static_cast<int>(Tool::Eraser)) ShowCursor(capture::EraserCursor(p, stroke_ ? pen_.width : width));
  if (!stroke_ || !left_down) return;
  const std::optional<capture::Stroke::Segment> seg = stroke_->MoveTo(p);
  if (stroke_->tool() == Tool::Eraser) {
    if (seg && eraser_.active()) {
      eraser_.Segment(seg->from, seg->to);
      UniqueRgn touched =
          RegionOf(capture::StrokeStrips(Tool::Eraser, {}, seg->from, seg->to, pen_.width + 2, false, kStripRows));
      Invalidate(touched.get());
    }
    return;
  }
  ShowPreview(Preview{stroke_->tool(), stroke_->box(), stroke_->start(), stroke_->current(), preview_->width, colour_});
}

std::optional<capture::Point> OverlayTools::Release(std::optional<capture::Point> last) {
  if (!stroke_) return std::nullopt;
  if (last) {
    // The eraser paints its last segment; a shape just takes the point.
    if (stroke_->tool() == Tool::Eraser) Move(*last, true, pen_.width);
    else stroke_->MoveTo(*last);
  }
  const capture::Stroke s = *stroke_;
  stroke_.reset();
  switch (s.tool()) {
    case Tool::Eraser:
      eraser_.End();
      ShowPreview(std::nullopt);
      return std::nullopt;
    case Tool::Text:
      ShowPreview(std::nullopt);
      // The box opens where the preview began, pressed point or dragged box.
      return capture::Point{s.box().left, s.box().top};
    default: {
      if (canvas_) BurnShape(*canvas_, s, pen_, clip_);
      // What the preview showed goes with what the burn touched.
      UniqueRgn touched = RegionOf(capture::StrokeStrips(s.tool(), s.box(), s.start(), s.current(), pen_.width, true, kStripRows));
      Invalidate(preview_area_.get(), touched.get());
      preview_.reset();
      preview_area_.reset();
      return std::nullopt;
    }
  }
}

void OverlayTools::ShowPreview(const std::optional<Preview>& next) {
  // The old preview's area was kept from when it was shown.
  UniqueRgn now = next ? RegionOf(capture::StrokeStrips(next->tool, next->box, next->from, next->to, next->width, false, kStripRows)) : nullptr;
  Invalidate(preview_area_.get(), now.get());
  preview_ = next;
  preview_area_ = std::move(now);
}

void OverlayTools::ShowCursor(const std::optional<capture::Rect>& next) {
  if (cursor_ == next) return;
  if (cursor_) Invalidate(capture::Grow(*cursor_, 1));
  cursor_ = next;
  if (cursor_) Invalidate(capture::Grow(*cursor_, 1));
}

void OverlayTools::Invalidate(HRGN region) const {
  if (overlay_ && region) InvalidateRgn(overlay_, region, FALSE);
}

void OverlayTools::Invalidate(HRGN a, HRGN b) const {
  if (!a || !b) {
    Invalidate(a ? a : b);
    return;
  }
  UniqueRgn both = EmptyRgn();
  if (both && CombineRgn(both.get(), a, b, RGN_OR) != ERROR) {
    Invalidate(both.get());
  } else {
    Invalidate(a);
    Invalidate(b);
  }
}

void OverlayTools::Invalidate(const capture::Rect& r) const {
  if (!overlay_ || r.Empty()) return;
  const RECT rc{r.left, r.top, r.right(), r.bottom()};
  InvalidateRect(overlay_, &rc, FALSE);
}

void OverlayTools::Paint(HDC dc) const {
  if (preview_) {
    const Preview& p = *preview_;
    // What the release will burn is cut to the selection; so is its preview.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip_.left, clip_.top, clip_.right(), clip_.bottom());
    // Filled shapes rather than wide pens: the same look, a fraction of
    // the work.
    UniqueBrush ink(CreateSolidBrush(p.colour & 0xFFFFFF));
    switch (p.tool) {
      case Tool::Arrow: {
        const auto q = capture::PreviewLineQuad(p.from, p.to, p.width);
        POINT pts[4];
        for (size_t i = 0; i < 4; ++i) pts[i] = POINT{q[i].x, q[i].y};
        SelectGuard fill(dc, ink.get());
        SelectGuard no_pen(dc, GetStockObject(NULL_PEN));
        Polygon(dc, pts, 4);
        break;
      }
      case Tool::Ellipse: {
        const capture::Rect o = capture::Grow(p.box, p.width / 2), i = capture::Grow(p.box, p.width / 2 - p.width);
        UniqueRgn ring(CreateEllipticRgn(o.left, o.top, o.right() + 1, o.bottom() + 1));
        if (ring && !i.Empty()) {
          UniqueRgn hole(CreateEllipticRgn(i.left, i.top, i.right() + 1, i.bottom() + 1));
          if (hole) CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
        }
        if (ring) FillRgn(dc, ring.get(), ink.get());
        break;
      }
      default: {
        LOGBRUSH lb{BS_SOLID, p.colour & 0xFFFFFF, 0};
        UniquePen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                   static_cast<DWORD>(p.width), &lb, 0, nullptr));
        SelectGuard use_pen(dc, pen.get());
        SelectGuard no_fill(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, p.box.left, p.box.top, p.box.right() + 1, p.box.bottom() + 1);
        break;
      }
    }
    RestoreDC(dc, saved);
  }
  if (cursor_ && !cursor_->Empty()) {
    UniquePen grey(CreatePen(PS_SOLID, 1, kEraserCursor));
    SelectGuard use_pen(dc, grey.get());
    SelectGuard no_fill(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, cursor_->left, cursor_->top, cursor_->right(), cursor_->bottom());
  }
}

}  // namespace vardo
