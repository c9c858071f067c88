#include "ruler/canvas_win.h"

#include <algorithm>

#include "common/dpi_win.h"
#include "common/process_win.h"

namespace vardo::ruler {

namespace {
// Labels: Verdana, light yellow behind the line's colour, a little padding
// (pixels at 96 DPI).
constexpr wchar_t kLabelFace[] = L"Verdana";
constexpr double kLabelPoints = 8;
constexpr COLORREF kLabelBack = RGB(255, 255, 192);
constexpr int kPadX = 2, kPadY = 1;

// Segments and ticks are one pixel wide at every DPI, both ends included.
void Stroke(HDC dc, Point a, Point b) {
  RECT r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
}  // namespace

bool RulerCanvas::Freeze(int w, int h) {
  Reset();
  if (!frozen_.CreateDib(w, h)) return false;
  WindowDc screen(nullptr);
  BitBlt(frozen_.dc(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT);
  return true;
}

bool RulerCanvas::PrepareLines() {
  if (surface_) return true;
  if (!frozen_ || !surface_.CreateDib(width(), height())) return false;
  BitBlt(surface_.dc(), 0, 0, width(), height(), frozen_.dc(), 0, 0, SRCCOPY);
  return true;
}

void RulerCanvas::SetDpi(int dpi) {
  dpi_ = dpi;
  font_.reset(CreatePointFont(kLabelFace, kLabelPoints, dpi));
  if (!measure_dc_) measure_dc_.reset(CreateCompatibleDC(nullptr));
}

void RulerCanvas::Reset() {
  frozen_.Reset();
  surface_.Reset();
}

Size RulerCanvas::MeasureLabel(const std::string& text) const {
  const std::wstring w = Widen(text);
  SIZE s{};
  if (measure_dc_ && font_) {
    SelectGuard g(measure_dc_.get(), font_.get());
    GetTextExtentPoint32W(measure_dc_.get(), w.c_str(), static_cast<int>(w.size()), &s);
  }
  return Size{s.cx + 2 * ScaleForDpi(kPadX, dpi_), s.cy + 2 * ScaleForDpi(kPadY, dpi_)};
}

void RulerCanvas::DrawLabel(HDC dc, const Rect& r, const std::string& text, COLORREF color) const {
  RECT rc{r.left, r.top, r.right(), r.bottom()};
  SetDCBrushColor(dc, kLabelBack);
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SelectGuard f(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  const std::wstring w = Widen(text);
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void RulerCanvas::DrawLines(HDC dc, const LineBoard& board, const Rect* clip) const {
  const int saved = SaveDC(dc);
  if (clip) IntersectClipRect(dc, clip->left, clip->top, clip->right(), clip->bottom());
  auto wanted = [&](const MeasureLine& l) { return l.shown && (!clip || LineBoard::Bounds(l).Intersects(*clip)); };
  // Segments and ticks first, so every label lies on top of every line.
  for (const MeasureLine& l : board.lines()) {
    if (!wanted(l)) continue;
    const LineGeometry& g = l.geometry;
    SetDCBrushColor(dc, l.color);
    Stroke(dc, g.start_tick_a, g.start_tick_b);
    Stroke(dc, g.end_tick_a, g.end_tick_b);
    SetDCBrushColor(dc, l.highlighted ? kBlue : l.color);
    Stroke(dc, g.start, g.end);
  }
  for (const MeasureLine& l : board.lines()) {
    if (!wanted(l)) continue;
    DrawLabel(dc, Rect{l.geometry.label.x, l.geometry.label.y, l.label_size.width, l.label_size.height}, l.text,
              l.color);
  }
  RestoreDC(dc, saved);
}

void RulerCanvas::Refresh(const LineBoard& board, const Rect& dirty) {
  if (!PrepareLines()) return;
  const int l = std::max(dirty.left, 0), t = std::max(dirty.top, 0);
  const int r = std::min(dirty.right(), width()), b = std::min(dirty.bottom(), height());
  if (r <= l || b <= t) return;
  const Rect area{l, t, r - l, b - t};
  BitBlt(surface_.dc(), l, t, area.width, area.height, frozen_.dc(), l, t, SRCCOPY);
  DrawLines(surface_.dc(), board, &area);
}

void RulerCanvas::PaintTo(HDC dc, const RECT& a) const {
  if (HDC src = picture()) BitBlt(dc, a.left, a.top, a.right - a.left, a.bottom - a.top, src, a.left, a.top, SRCCOPY);
}

void RulerCanvas::DrawLiveLabel(HDC dc, Point at, const std::string& text) const {
  const Size s = MeasureLabel(text);
  DrawLabel(dc, Rect{at.x, at.y, s.width, s.height}, text, kRed);
}

HBITMAP RulerCanvas::Render(const LineBoard& board) const {
  if (!frozen_) return nullptr;
  WindowDc screen(nullptr);
  UniqueBitmap bmp(CreateCompatibleBitmap(screen.get(), width(), height()));
  UniqueMemDc dc(CreateCompatibleDC(screen.get()));
  if (!bmp || !dc) return nullptr;
  {
    SelectGuard g(dc.get(), bmp.get());
    if (!BitBlt(dc.get(), 0, 0, width(), height(), frozen_.dc(), 0, 0, SRCCOPY)) return nullptr;
    DrawLines(dc.get(), board, nullptr);
  }
  return bmp.release();
}

}  // namespace vardo::ruler
