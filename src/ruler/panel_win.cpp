#include "ruler/panel_win.h"

#include <algorithm>

#include "common/dpi_win.h"
#include "common/magnifier_win.h"
#include "common/units.h"

namespace vardo::ruler {

namespace {
constexpr wchar_t kPanelClass[] = L"mirrun.panel";
constexpr COLORREF kPanelBack = RGB(14, 151, 231);
constexpr COLORREF kMagnifierBack = RGB(255, 255, 0);
constexpr COLORREF kCrossHair = RGB(255, 0, 0);

// Geometry in twips (15 per pixel at 96 DPI). The magnifier box is a little
// taller than the panel and is cut at its bottom edge.
constexpr int kPanelW = 2235, kPanelH = 975;
constexpr int kPanelLeft = 150, kPanelTop = 150;
constexpr int kMagnifierSide = 1000;
constexpr int kColumnX = 1065, kColumnW = 1140, kRowH = 240, kFirstRow = 0;

// The cross-hair, in pixels of the zoomed picture: bars 4 pixels wide
// through the pointer's pixel (zoomed pixels 28 to 31), drawn by XOR, so
// the pointer's own pixel, where they cross, shows its true colour.
constexpr RECT kCrossBars[] = {{28, 8, 32, 64}, {0, 28, 64, 32}};

enum ControlId { kIdTitle = 11, kIdSave = 6, kIdExit = 2, kIdMore = 10 };

RECT RectOfTwips(int x, int y, int w, int h, int dpi) {
  const int l = TwipsToPixels(x, dpi), t = TwipsToPixels(y, dpi);
  return RECT{l, t, l + TwipsToPixels(w, dpi), t + TwipsToPixels(h, dpi)};
}
}  // namespace

bool RulerPanel::Create(HWND ruler, int dpi) {
  w_ = TwipsToPixels(kPanelW, dpi);
  h_ = TwipsToPixels(kPanelH, dpi);
  back_brush_.reset(CreateSolidBrush(kPanelBack));
  Window::RegisterClass(kPanelClass, 0, LoadCursorW(nullptr, IDC_ARROW));
  if (!Window::Create(0, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN, TwipsToPixels(kPanelLeft, dpi),
                      TwipsToPixels(kPanelTop, dpi), w_, h_, ruler))
    return false;
  magnifier_ = RectOfTwips(0, 0, kMagnifierSide, kMagnifierSide, dpi);
  const RECT title = RectOfTwips(kColumnX, kFirstRow, kColumnW, kRowH, dpi);
  save_ = RectOfTwips(kColumnX, kFirstRow + kRowH, kColumnW, kRowH, dpi);
  exit_ = RectOfTwips(kColumnX, kFirstRow + 2 * kRowH, kColumnW, kRowH, dpi);
  more_ = RectOfTwips(kColumnX, kFirstRow + 3 * kRowH, kColumnW, kRowH, dpi);

  font_.reset(CreateMessageFont(dpi));
  LOGFONTW lf{};
  GetObjectW(font_.get(), sizeof(lf), &lf);
  lf.lfWeight = FW_BOLD;
  title_font_.reset(CreateFontIndirectW(&lf));
  // Plain statics: they let presses through to the panel, which tells the
  // commands apart by where the press and the release were.
  auto make = [&](const wchar_t* text, const RECT& r, int id, HFONT font) {
    HWND c = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                             r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  title_ = make(L"mirrun", title, kIdTitle, title_font_.get());
  make(L"保存为图片", save_, kIdSave, font_.get());
  make(L"退出", exit_, kIdExit, font_.get());
  make(L"More", more_, kIdMore, font_.get());

  if (zoom_.CreateDib(kZoomSide, kZoomSide)) {
    RECT all{0, 0, kZoomSide, kZoomSide};
    UniqueBrush yellow(CreateSolidBrush(kMagnifierBack));
    FillRect(zoom_.dc(), &all, yellow.get());
  }
  ShowWindow(hwnd(), SW_SHOWNA);
  return true;
}

void RulerPanel::UpdateMagnifier(HDC picture, int pw, int ph, POINT cursor) {
  if (!zoom_ || !hwnd()) return;
  HDC dc = zoom_.dc();
  DrawMagnified(dc, picture, pw, ph, cursor, kMagnifierBack);
  UniqueBrush red(CreateSolidBrush(kCrossHair));
  SelectGuard g(dc, red.get());
  for (const RECT& r : kCrossBars) PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
  InvalidateRect(hwnd(), &magnifier_, FALSE);
}

RulerPanel::Part RulerPanel::PartAt(POINT p) const {
  if (PtInRect(&save_, p)) return Part::kSave;
  if (PtInRect(&exit_, p)) return Part::kExit;
  if (PtInRect(&more_, p)) return Part::kMore;
  return Part::kBody;
}

void RulerPanel::OnPaint(HDC dc, const RECT& area) {
  FillRect(dc, &area, back_brush_.get());
  if (zoom_) {
    const int mw = std::min<int>(magnifier_.right - magnifier_.left, zoom_.width());
    const int mh = std::min<int>(magnifier_.bottom - magnifier_.top, zoom_.height());
    BitBlt(dc, magnifier_.left, magnifier_.top, mw, mh, zoom_.dc(), 0, 0, SRCCOPY);
  }
}

LRESULT RulerPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  auto pt = [lp] { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; };
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkColor(dc, kPanelBack);
      return reinterpret_cast<LRESULT>(back_brush_.get());
    }
    case WM_LBUTTONDOWN:
      pressed_ = PartAt(pt());
      if (pressed_ == Part::kBody) drag_.Begin(hwnd());
      else SetCapture(hwnd());
      return 0;
    case WM_MOUSEMOVE:
      if (wp & MK_LBUTTON) drag_.Move();
      return 0;
    case WM_LBUTTONUP: {
      const Part pressed = pressed_;
      pressed_ = Part::kBody;
      drag_.End();
      if (GetCapture() == hwnd()) ReleaseCapture();
      // A command runs when the press and the release were both on it.
      if (pressed != PartAt(pt())) return 0;
      switch (pressed) {
        case Part::kSave: actions_.SavePicture(); break;
        case Part::kExit: actions_.ExitProgram(); break;
        case Part::kMore: actions_.OpenHomePage(); break;
        case Part::kBody: break;
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      drag_.Cancel();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo::ruler
