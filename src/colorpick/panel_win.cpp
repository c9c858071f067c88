#include "colorpick/panel_win.h"

#include <algorithm>

#include "common/dpi_win.h"
#include "common/magnifier_win.h"
#include "common/units.h"

namespace vardo::colorpick {

namespace {
constexpr wchar_t kPanelClass[] = L"kestil.panel";
constexpr COLORREF kBack = RGB(224, 224, 224);
constexpr COLORREF kFrame = RGB(14, 151, 231);

// Panel geometry in twips (15 per pixel at 96 DPI).
constexpr int kPanelW = 3975, kPanelH = 1995;
constexpr int kTitleH = 300;
constexpr int kMagnifierSide = 1000;

// The pointer's pixel in the magnifier is framed by a 5-pixel green square
// at (27, 27) of the zoomed picture.
constexpr int kMarkerAt = 27, kMarkerSide = 5;

enum ControlId { kIdTitle = 11, kIdHex = 20, kIdRgb = 21, kIdTip1 = 30, kIdTip2 = 31, kIdSave = 10, kIdClose = 9 };
}  // namespace

RECT PickerPanel::Twips(int x, int y, int w, int h) const {
  const int l = TwipsToPixels(x, dpi_), t = TwipsToPixels(y, dpi_);
  return RECT{l, t, l + TwipsToPixels(w, dpi_), t + TwipsToPixels(h, dpi_)};
}

bool PickerPanel::Create(HWND picker, int dpi) {
  dpi_ = dpi;
  w_ = TwipsToPixels(kPanelW, dpi);
  h_ = TwipsToPixels(kPanelH, dpi);
  back_brush_.reset(CreateSolidBrush(kBack));
  title_brush_.reset(CreateSolidBrush(kFrame));
  Window::RegisterClass(kPanelClass, 0, LoadCursorW(nullptr, IDC_ARROW));
  RECT pr{};
  GetClientRect(picker, &pr);
  // Centred at the top of the screen.
  const int x = (pr.right - pr.left) / 2 - w_ / 2;
  const int y = TwipsToPixels(10, dpi);
  if (!Window::Create(0, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN, x, y, w_, h_, picker)) return false;

  title_ = RECT{0, 0, w_, TwipsToPixels(kTitleH, dpi)};
  grip_ = Twips(0, 0, kTitleH, kTitleH);
  exit_ = RECT{w_ - TwipsToPixels(kTitleH, dpi), 0, w_, TwipsToPixels(kTitleH, dpi)};
  magnifier_ = Twips(120, 420, kMagnifierSide, kMagnifierSide);
  save_icon_ = Twips(120, 1575, 300, 300);

  font_.reset(CreateMessageFont(dpi));
  readout_font_.reset(CreatePointFont(L"Tahoma", 10, dpi, true));
  auto make = [&](const wchar_t* text, DWORD style, RECT r, int id, HFONT font) {
    HWND c = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  // The title passes presses through to the panel, which drags itself.
  RECT tr = title_;
  tr.left = grip_.right;
  tr.right = exit_.left;
  title_label_ = make(L"kestil", SS_CENTER | SS_CENTERIMAGE, tr, kIdTitle, font_.get());
  lhex_ = make(L"HEX", SS_NOTIFY | SS_CENTERIMAGE, Twips(1260, 420, 2600, 300), kIdHex, readout_font_.get());
  lrgb_ = make(L"RGB", SS_NOTIFY | SS_CENTERIMAGE, Twips(1260, 750, 2600, 300), kIdRgb, readout_font_.get());
  make(L"按下 'Enter'保存HEX到剪贴板", SS_CENTERIMAGE, Twips(1260, 1080, 2700, 240), kIdTip1, font_.get());
  make(L"按下 'Shift'保存RGB到剪贴板", SS_CENTERIMAGE, Twips(1260, 1320, 2700, 240), kIdTip2, font_.get());
  HWND save = make(L"保存图片", SS_NOTIFY | SS_CENTERIMAGE, Twips(480, 1590, 1300, 270), kIdSave, font_.get());
  HWND close = make(L"关闭", SS_NOTIFY | SS_CENTER | SS_CENTERIMAGE, Twips(kPanelW - 1020, 1590, 900, 270),
                    kIdClose, font_.get());
  // SS_NOTIFY makes the labels take the pointer; the hooks make them click.
  buttons_[0].Attach(lhex_, actions_, &PanelActions::CopyHexWithoutHash);
  buttons_[1].Attach(lrgb_, actions_, &PanelActions::CopyRgb);
  buttons_[2].Attach(save, actions_, &PanelActions::SavePicture);
  buttons_[3].Attach(close, actions_, &PanelActions::ClosePicker);

  zoom_.CreateDib(kZoomSide, kZoomSide);
  if (zoom_) PatBlt(zoom_.dc(), 0, 0, zoom_.width(), zoom_.height(), BLACKNESS);
  ShowWindow(hwnd(), SW_SHOWNA);
  return true;
}

void PickerPanel::SetReadouts(const std::wstring& hex, const std::wstring& rgb) {
  if (HexText() != hex) SetWindowTextW(lhex_, hex.c_str());
  if (RgbText() != rgb) SetWindowTextW(lrgb_, rgb.c_str());
}

namespace {
std::wstring TextOfWindow(HWND w) {
  wchar_t buf[128] = {};
  if (w) GetWindowTextW(w, buf, ARRAYSIZE(buf));
  return buf;
}
}  // namespace

std::wstring PickerPanel::HexText() const { return TextOfWindow(lhex_); }
std::wstring PickerPanel::RgbText() const { return TextOfWindow(lrgb_); }

void PickerPanel::UpdateMagnifier(HDC surface, int sw, int sh, POINT cursor) {
  if (!zoom_ || !hwnd()) return;
  HDC dc = zoom_.dc();
  // Source pixels off the picture stay black.
  DrawMagnified(dc, surface, sw, sh, cursor, RGB(0, 0, 0));
  UniquePen pen(CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
  SelectGuard p(dc, pen.get());
  SelectGuard br(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, kMarkerAt, kMarkerAt, kMarkerAt + kMarkerSide, kMarkerAt + kMarkerSide);
  InvalidateRect(hwnd(), &magnifier_, FALSE);
}

void PickerPanel::LabelButton::Attach(HWND label, PanelActions& actions, void (PanelActions::*action)()) {
  actions_ = &actions;
  action_ = action;
  ControlHook::Attach(label);
}

bool PickerPanel::LabelButton::OnControlMessage(UINT msg, WPARAM, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      *result = 0;
      // The action may close the picker and this label with it: nothing of
      // the hook is used after it.
      if (click_.OnMessage(control(), msg, lp) && actions_ && action_) (actions_->*action_)();
      return true;
    case WM_CAPTURECHANGED:
      click_.OnMessage(control(), msg, lp);
      return false;
    default:
      return false;
  }
}

PickerPanel::Part PickerPanel::PartAt(POINT p) const {
  if (PtInRect(&exit_, p)) return Part::kExit;
  if (PtInRect(&save_icon_, p)) return Part::kSave;
  if (PtInRect(&magnifier_, p)) return Part::kMagnifier;
  return Part::kBody;
}

void PickerPanel::Paint(HDC dc) {
  RECT all{0, 0, w_, h_};
  FillRect(dc, &all, back_brush_.get());
  FillRect(dc, &title_, title_brush_.get());
  // Drag handle: a grip of white dots.
  const int u = std::max(1, TwipsToPixels(30, dpi_));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) {
      const int cx = grip_.left + (grip_.right - grip_.left) / 2 - 2 * u + j * 3 * u;
      const int cy = grip_.top + (grip_.bottom - grip_.top) / 2 - 4 * u + i * 3 * u;
      RECT d{cx, cy, cx + 2 * u, cy + 2 * u};
      FillRect(dc, &d, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
  // Exit image: a white cross.
  {
    UniquePen pen(CreatePen(PS_SOLID, std::max(1, TwipsToPixels(30, dpi_)), RGB(255, 255, 255)));
    SelectGuard g(dc, pen.get());
    const int m = (exit_.right - exit_.left) / 4;
    MoveToEx(dc, exit_.left + m, exit_.top + m, nullptr);
    LineTo(dc, exit_.right - m, exit_.bottom - m);
    MoveToEx(dc, exit_.right - m - 1, exit_.top + m, nullptr);
    LineTo(dc, exit_.left + m - 1, exit_.bottom - m);
  }
  // Save image: a small disk.
  {
    RECT d = save_icon_;
    InflateRect(&d, -TwipsToPixels(30, dpi_), -TwipsToPixels(30, dpi_));
    UniqueBrush disk(CreateSolidBrush(kFrame));
    FillRect(dc, &d, disk.get());
    const int w = d.right - d.left, h = d.bottom - d.top;
    RECT label{d.left + w / 5, d.top + h / 2, d.right - w / 5, d.bottom - h / 8};
    FillRect(dc, &label, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT shutter{d.left + w / 4, d.top, d.right - w / 3, d.top + h / 3};
    FillRect(dc, &shutter, back_brush_.get());
  }
  // Magnifier: the visible corner of the zoomed picture, with a frame.
  if (zoom_) {
    const int mw = magnifier_.right - magnifier_.left, mh = magnifier_.bottom - magnifier_.top;
    BitBlt(dc, magnifier_.left, magnifier_.top, std::min(mw, zoom_.width()), std::min(mh, zoom_.height()), zoom_.dc(),
           0, 0, SRCCOPY);
    RECT f = magnifier_;
    InflateRect(&f, 1, 1);
    FrameRect(dc, &f, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  }
  // Frame.
  FrameRect(dc, &all, title_brush_.get());
}

LRESULT PickerPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      HWND c = reinterpret_cast<HWND>(lp);
      if (c == title_label_) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, kFrame);
        return reinterpret_cast<LRESULT>(title_brush_.get());
      }
      const int id = GetDlgCtrlID(c);
      SetTextColor(dc, id == kIdSave || id == kIdClose ? kFrame : RGB(0, 0, 0));
      SetBkColor(dc, kBack);
      return reinterpret_cast<LRESULT>(back_brush_.get());
    }
    case WM_LBUTTONDOWN: {
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      pressed_ = PartAt(p);
      // The panel stays whole inside the picker window.
      if (pressed_ == Part::kBody) drag_.Begin(hwnd(), true);
      else SetCapture(hwnd());
      return 0;
    }
    case WM_MOUSEMOVE:
      if (wp & MK_LBUTTON) drag_.Move();
      return 0;
    case WM_LBUTTONUP: {
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      const Part pressed = pressed_;
      pressed_ = Part::kNone;
      drag_.End();
      if (GetCapture() == hwnd()) ReleaseCapture();
      const Part now = PartAt(p);
      if (pressed == now && now == Part::kExit) actions_.ExitProgram();
      else if (pressed == now && now == Part::kSave) actions_.SavePicture();
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

}  // namespace vardo::colorpick
