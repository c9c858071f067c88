#include "capture/magnifier_win.h"

#include "capture/helpers.h"
#include "common/dpi_win.h"
#include "common/process_win.h"

namespace vardo {

namespace {
const COLORREF kBack = RGB(64, 64, 64);

HWND MakeLabel(HWND parent, const capture::Rect& r, const wchar_t* text, HFONT font) {
  HWND w = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, r.left, r.top,
                           r.width, r.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (w && font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return w;
}
}  // namespace

bool Magnifier::Create(HWND overlay, int dpi) {
  layout_ = capture::LayoutMagnifier(dpi);
  screen_ = capture::Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  back_.reset(CreateSolidBrush(kBack));
  font_.reset(CreateMessageFont(dpi));
  if (!view_.CreateDib(layout_.view.width, layout_.view.height)) return false;
  if (!Window::RegisterClass(kClassName, 0, nullptr, nullptr)) return false;
  if (!Window::Create(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, -layout_.panel.width, 0, layout_.panel.width,
                      layout_.panel.height, overlay))
    return false;
  // The initial texts, until the first update.
  size_ = MakeLabel(hwnd(), layout_.size_label, L"0×0", font_.get());
  rgbco_ = MakeLabel(hwnd(), layout_.rgb_label, L"RGB(0,0,0)", font_.get());
  size_text_ = L"0×0";
  rgb_text_ = L"RGB(0,0,0)";
  return size_ && rgbco_;
}

void Magnifier::SetLabel(HWND label, std::wstring& shown, const std::string& text) {
  std::wstring wide = Widen(text);
  if (wide == shown) return;
  shown.swap(wide);
  SetWindowTextW(label, shown.c_str());
}

void Magnifier::Update(capture::Point cursor, uint32_t colour, capture::Size selection, const MemoryCanvas& frozen) {
  if (!hwnd()) return;
  const capture::PixelView from{static_cast<const uint32_t*>(frozen.bits()), {frozen.width(), frozen.height()},
                                frozen.width()};
  capture::Magnify(from, capture::MagnifierSource(cursor), static_cast<uint32_t*>(view_.bits()),
                   {view_.width(), view_.height()}, view_.width(), capture::PixelOfColour(kBack));
  cross_ = capture::InvertColor(colour);
  SetLabel(rgbco_, rgb_text_, capture::RgbReadout(colour));
  SetLabel(size_, size_text_, capture::SizeReadout(selection.width, selection.height));
  const capture::Point at = capture::PlaceMagnifier(cursor, layout_.panel, screen_, layout_.gap);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  const RECT view{0, 0, layout_.view.width, layout_.view.height};
  InvalidateRect(hwnd(), &view, FALSE);
}

void Magnifier::BringToTop() {
  if (hwnd()) SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Magnifier::OnPaint(HDC dc, const RECT&) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  RECT below{0, view_.height(), rc.right, rc.bottom};
  FillRect(dc, &below, back_.get());
  GdiFlush();
  BitBlt(dc, 0, 0, view_.width(), view_.height(), view_.dc(), 0, 0, SRCCOPY);
  const capture::Rect c = capture::CrossRect({view_.width(), view_.height()});
  const RECT cross{c.left, c.top, c.right(), c.bottom()};
  UniqueBrush fill(CreateSolidBrush(cross_));
  FillRect(dc, &cross, fill.get());
}

LRESULT Magnifier::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkColor(dc, kBack);
      return reinterpret_cast<LRESULT>(back_.get());
    }
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace vardo
