#include "capture/overlay_tools_win.h"

#include <algorithm>

namespace vardo {

namespace {

using capture::Tool;

const COLORREF kEraserCursor = RGB(128, 128, 128);

UniqueRgn EmptyRgn() { return UniqueRgn(CreateRectRgn(0, 0, 0, 0)); }

UniqueRgn RectRgn(const capture::Rect& r) { return UniqueRgn(CreateRectRgn(r.left, r.top, r.right(), r.bottom())); }

void AddTo(HRGN into, HRGN part) {
  if (into && part) CombineRgn(into, into, part, RGN_OR);
}

// A frame `reach` pixels to each side of the box's edge.
UniqueRgn FrameRgn(const capture::Rect& box, int reach, bool elliptic) {
  const capture::Rect outer = capture::Grow(box, reach), inner = capture::Grow(box, -reach);
  auto make = [elliptic](const capture::Rect& r) {
    return elliptic ? UniqueRgn(CreateEllipticRgn(r.left, r.top, r.right() + 1, r.bottom() + 1)) : RectRgn(r);
  };
  UniqueRgn rgn = make(outer);
  if (rgn && !inner.Empty()) {
    UniqueRgn hole = make(inner);
    if (hole) CombineRgn(rgn.get(), rgn.get(), hole.get(), RGN_DIFF);
  }
  return rgn;
}

UniqueRgn QuadRgn(capture::Point a, capture::Point b, int half, int extend) {
  const auto q = capture::SegmentQuad(a, b, half, extend);
  POINT pts[4];
  for (size_t i = 0; i < 4; ++i) pts[i] = POINT{q[i].x, q[i].y};
  return UniqueRgn(CreatePolygonRgn(pts, 4, WINDING));
}

// What a stroke of `tool` over `box` (or from `a` to `b`) with a pen of
// `width` can touch. The offset of an ellipse is not an ellipse: its frame
// reaches half as far again, which covers it.
UniqueRgn StrokeRgn(Tool tool, const capture::Rect& box, capture::Point a, capture::Point b, double width,
                    bool burnt) {
  const int half = capture::HalfPen(width) + 1;
  switch (tool) {
    case Tool::Ellipse:
      return FrameRgn(box, half + half / 2 + 2, true);
    case Tool::Arrow: {
      UniqueRgn rgn = QuadRgn(a, b, half, half);
      if (burnt) {
        const int head = capture::ArrowHeadReach(width);
        UniqueRgn end = RectRgn(capture::Rect{b.x - head, b.y - head, 2 * head + 1, 2 * head + 1});
        AddTo(rgn.get(), end.get());
      }
      return rgn;
    }
    default:
      return FrameRgn(box, half + 1, false);
  }
}

}  // namespace

void OverlayTools::Attach(HWND overlay, const MemoryCanvas& surface, const MemoryCanvas& clean) {
  overlay_ = overlay;
  surface_ = WrapCanvas(surface);
  clean_ = WrapCanvas(clean);
  mode_ = -1;
}

void OverlayTools::Detach() {
  eraser_.End();
  stroke_.reset();
  preview_.reset();
  cursor_.reset();
  surface_.reset();
  clean_.reset();
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
      UniqueRgn touched = QuadRgn(seg->from, seg->to, capture::HalfPen(pen_.width) + 2, capture::HalfPen(pen_.width) + 2);
      Invalidate(touched.get());
    }
    return;
  }
  ShowPreview(Preview{stroke_->tool(), stroke_->box(), stroke_->start(), stroke_->current(), preview_->width, colour_});
}

std::optional<capture::Point> OverlayTools::Release() {
  if (!stroke_) return std::nullopt;
  const capture::Stroke s = *stroke_;
  stroke_.reset();
  ShowPreview(std::nullopt);
  switch (s.tool()) {
    case Tool::Eraser:
      eraser_.End();
      return std::nullopt;
    case Tool::Text:
      // The box opens where the preview began, pressed point or dragged box.
      return capture::Point{s.box().left, s.box().top};
    default: {
      BurnShape(surface_.get(), s, pen_, clip_);
      UniqueRgn touched = StrokeRgn(s.tool(), s.box(), s.start(), s.current(), pen_.width, true);
      Invalidate(touched.get());
      return std::nullopt;
    }
  }
}

UniqueRgn OverlayTools::RegionOf(const Preview& p) {
  return StrokeRgn(p.tool, p.box, p.from, p.to, p.width, false);
}

void OverlayTools::ShowPreview(const std::optional<Preview>& next) {
  UniqueRgn changed = EmptyRgn();
  if (preview_) {
    UniqueRgn old = RegionOf(*preview_);
    AddTo(changed.get(), old.get());
  }
  if (next) {
    UniqueRgn now = RegionOf(*next);
    AddTo(changed.get(), now.get());
  }
  preview_ = next;
  Invalidate(changed.get());
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
    LOGBRUSH lb{BS_SOLID, p.colour & 0xFFFFFF, 0};
    const DWORD caps = p.tool == Tool::Arrow ? PS_ENDCAP_FLAT : PS_ENDCAP_SQUARE | PS_JOIN_MITER;
    UniquePen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | caps, static_cast<DWORD>(p.width), &lb, 0, nullptr));
    SelectGuard use_pen(dc, pen.get());
    SelectGuard no_fill(dc, GetStockObject(NULL_BRUSH));
    switch (p.tool) {
      case Tool::Arrow:
        MoveToEx(dc, p.from.x, p.from.y, nullptr);
        LineTo(dc, p.to.x, p.to.y);
        break;
      case Tool::Ellipse:
        Ellipse(dc, p.box.left, p.box.top, p.box.right() + 1, p.box.bottom() + 1);
        break;
      default:
        Rectangle(dc, p.box.left, p.box.top, p.box.right() + 1, p.box.bottom() + 1);
        break;
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
