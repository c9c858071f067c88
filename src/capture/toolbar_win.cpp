#include "capture/toolbar_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/dpi_win.h"
#include "common/process_win.h"

namespace vardo {

namespace {

constexpr wchar_t kExitClass[] = L"VardoCaptureExi";
constexpr wchar_t kActionClass[] = L"VardoCaptureAction";
constexpr int kWidBoxId = 101;
constexpr int kAlpBoxId = 102;
const COLORREF kSeparator = RGB(192, 192, 192);
const COLORREF kButtonFace = RGB(64, 64, 64);
const COLORREF kButtonHover = RGB(96, 96, 96);

RECT ToRect(const capture::Rect& r) { return RECT{r.left, r.top, r.right(), r.bottom()}; }

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
  UniqueBrush brush(CreateSolidBrush(c));
  RECT rc{l, t, r, b};
  FillRect(dc, &rc, brush.get());
}

// The icons, drawn to the button's size n (25 px at 96 DPI).
void DrawExit(HDC dc, int n) {
  Fill(dc, 0, 0, n, n, RGB(255, 0, 0));
  const int pen_width = n >= 32 ? 3 : 2;
  UniquePen white(CreatePen(PS_SOLID, pen_width, RGB(255, 255, 255)));
  SelectGuard pen(dc, white.get());
  const int a = n / 4, b = n - n / 4 - 1;
  MoveToEx(dc, a, a, nullptr);
  LineTo(dc, b, b);
  MoveToEx(dc, b, a, nullptr);
  LineTo(dc, a, b);
}

void DrawPin(HDC dc, int n) {
  // A pushpin leaning to the lower left.
  UniquePen needle(CreatePen(PS_SOLID, std::max(2, n / 12), RGB(96, 96, 96)));
  {
    SelectGuard pen(dc, needle.get());
    MoveToEx(dc, n * 48 / 100, n * 52 / 100, nullptr);
    LineTo(dc, n * 14 / 100, n * 86 / 100);
  }
  UniqueBrush red(CreateSolidBrush(RGB(220, 40, 40)));
  UniquePen rim(CreatePen(PS_SOLID, 1, RGB(150, 20, 20)));
  SelectGuard b(dc, red.get());
  SelectGuard p(dc, rim.get());
  Ellipse(dc, n * 40 / 100, n * 10 / 100, n * 90 / 100, n * 60 / 100);
}

void DrawClipboard(HDC dc, int n) {
  Fill(dc, n * 18 / 100, n * 14 / 100, n * 82 / 100, n * 92 / 100, RGB(160, 110, 50));
  Fill(dc, n * 28 / 100, n * 26 / 100, n * 72 / 100, n * 84 / 100, RGB(255, 255, 255));
  Fill(dc, n * 36 / 100, n * 6 / 100, n * 64 / 100, n * 22 / 100, RGB(80, 80, 80));
  for (int i = 0; i < 3; ++i) {
    const int y = n * (40 + 14 * i) / 100;
    Fill(dc, n * 34 / 100, y, n * 66 / 100, y + std::max(1, n / 20), RGB(120, 120, 120));
  }
}

void DrawDisk(HDC dc, int w, int h) {
  Fill(dc, w * 14 / 100, h * 12 / 100, w * 86 / 100, h * 90 / 100, RGB(30, 60, 150));
  Fill(dc, w * 32 / 100, h * 12 / 100, w * 66 / 100, h * 38 / 100, RGB(200, 200, 210));
  Fill(dc, w * 54 / 100, h * 16 / 100, w * 62 / 100, h * 34 / 100, RGB(30, 60, 150));
  Fill(dc, w * 26 / 100, h * 52 / 100, w * 74 / 100, h * 84 / 100, RGB(255, 255, 255));
}

}  // namespace

bool ActionButton::Create(HWND parent, const capture::Rect& r, ToolbarAction action, const wchar_t* tip,
                          HWND notify) {
  action_ = action;
  notify_ = notify;
  click_ = ClickTracker();  // no press carried over from a previous capture
  const wchar_t* cls = action == ToolbarAction::kExit ? kExitClass : kActionClass;
  if (!Window::RegisterClass(cls, 0, LoadCursorW(nullptr, IDC_HAND), GetSysColorBrush(COLOR_WINDOW))) return false;
  return Window::Create(0, cls, tip, WS_CHILD | WS_VISIBLE, r.left, r.top, r.width, r.height, parent);
}

void ActionButton::OnPaint(HDC dc, const RECT&) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
  switch (action_) {
    case ToolbarAction::kExit:
      DrawExit(dc, rc.right);
      break;
    case ToolbarAction::kPin:
      DrawPin(dc, rc.right);
      break;
    case ToolbarAction::kCopy:
      DrawClipboard(dc, rc.right);
      break;
    case ToolbarAction::kSave:
      DrawDisk(dc, rc.right, rc.bottom);
      break;
  }
}

LRESULT ActionButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (click_.OnMessage(hwnd(), msg, lp)) PostMessageW(notify_, kMsgToolbarAction, static_cast<WPARAM>(action_), 0);
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

bool Toolbar::Create(HWND overlay, int dpi) {
  overlay_ = overlay;
  dpi_ = dpi;
  // Every capture starts from the initial colour, width, alpha and font.
  style_ = capture::ToolStyle();
  hover_row_ = chosen_row_ = -1;
  drag_.Cancel();  // a drag the previous capture ended in the middle of
  layout_ = capture::LayoutToolbar(dpi);
  if (!Window::RegisterClass(kClassName, 0, nullptr, GetSysColorBrush(COLOR_WINDOW))) return false;
  if (!Window::Create(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, layout_.panel.width,
                      layout_.panel.height, overlay))
    return false;
  font_.reset(CreateMessageFont(dpi));
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  struct {
    ActionButton* button;
    capture::Rect at;
    ToolbarAction action;
    const wchar_t* tip;
  } actions[] = {
      {&pinimg_, layout_.pinimg, ToolbarAction::kPin, L"贴图到屏幕"},
      {&image1_, layout_.image1, ToolbarAction::kCopy, L"保存到剪贴板"},
      {&savepic_, layout_.savepic, ToolbarAction::kSave, L"另存为"},
      {&exi_, layout_.exi, ToolbarAction::kExit, L"退出"},
  };
  for (auto& a : actions) {
    if (!a.button->Create(hwnd(), a.at, a.action, a.tip, overlay)) return false;
    AddTip(a.button->hwnd(), a.tip);
  }
  CreateRows();
  return CreateToolRow();
}

void Toolbar::AddTip(HWND control, const wchar_t* text) {
  if (!tip_ || !control) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

HWND Toolbar::MakeLabel(const capture::Rect& r, const wchar_t* text) {
  HWND w = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, r.left, r.top, r.width,
                           r.height, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (w) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return w;
}

HWND Toolbar::MakeBox(const capture::Rect& r, int id) {
  HWND w = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.left, r.top,
                           r.width, r.height, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (w) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return w;
}

void Toolbar::CreateRows() {
  LOGFONTW lf{};
  GetObjectW(font_.get(), sizeof(lf), &lf);
  for (CenterText* b : {&more_c_, &sets_}) {
    const bool colour = b == &more_c_;
    b->Create(hwnd(), colour ? layout_.more_c : layout_.sets, colour ? L"颜色" : L"字体");
    b->SetFont(lf);
    b->SetBackColor(kButtonFace);
    b->SetForeColor(RGB(255, 255, 255));
    b->MouseEnter = [b] { b->SetBackColor(kButtonHover); };
    b->MouseLeave = [b] { b->SetBackColor(kButtonFace); };
  }
  more_c_.Click = [this] { MoreC_Click(); };
  sets_.Click = [this] { Sets_Click(); };

  MakeLabel(layout_.wid_label, L"粗细");
  MakeLabel(layout_.alp_label, L"亮度");
  sv_wid_.Create(hwnd(), layout_.sv_wid);
  sv_alp_.Create(hwnd(), layout_.sv_alp);
  txt_wid_ = MakeBox(layout_.txt_wid, kWidBoxId);
  txt_alp_ = MakeBox(layout_.txt_alp, kAlpBoxId);
  // The initial values, before the pairs follow each other.
  syncing_ = true;
  sv_wid_.SetMax(style_.width.max());
  sv_wid_.SetValue(style_.width.slider());
  sv_alp_.SetMax(style_.alpha.max());
  sv_alp_.SetValue(style_.alpha.slider());
  SetWindowTextW(txt_wid_, Widen(style_.width.box_text()).c_str());
  SetWindowTextW(txt_alp_, Widen(style_.alpha.box_text()).c_str());
  syncing_ = false;
  sv_wid_.Change = [this] { Slider_Change(style_.width, sv_wid_, txt_wid_); };
  sv_alp_.Change = [this] { Slider_Change(style_.alpha, sv_alp_, txt_alp_); };
}

void Toolbar::ShowAt(capture::Point p) {
  SetWindowPos(hwnd(), HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Toolbar::Hide() {
  drag_.End();
  SetHover(-1);
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

void Toolbar::RefreshSwatch() {
  const RECT r = ToRect(layout_.cn);
  InvalidateRect(hwnd(), &r, FALSE);
}

void Toolbar::OnPaint(HDC dc, const RECT&) {
  PaintMarkers(dc);
  const capture::Rect& s = layout_.separator;
  Fill(dc, s.left, s.top, s.right(), s.bottom(), kSeparator);
  // The current colour with a thin dark frame, then the palette.
  const capture::Rect& cn = layout_.cn;
  Fill(dc, cn.left, cn.top, cn.right(), cn.bottom(), RGB(64, 64, 64));
  Fill(dc, cn.left + 1, cn.top + 1, cn.right() - 1, cn.bottom() - 1, style_.colour);
  // Each swatch framed just outside, so white shows on the white panel.
  for (int k = 0; k < capture::kPaletteCount; ++k) {
    const capture::Rect& c = layout_.cols[static_cast<size_t>(k)];
    Fill(dc, c.left - 1, c.top - 1, c.right() + 1, c.bottom() + 1, kSeparator);
    Fill(dc, c.left, c.top, c.right(), c.bottom(), capture::PaletteColour(k));
  }
}

LRESULT Toolbar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (drag_.OnMessage(msg, wp)) return 0;
  switch (msg) {
    case WM_LBUTTONDOWN: {
      const capture::Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (auto k = capture::SwatchAt(layout_, p)) {
        SetColour(capture::PaletteColour(*k));
        return 0;
      }
      // Anywhere else on the background (the bands and Ops) drags the toolbar.
      drag_.Begin(hwnd());
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wp) == EN_CHANGE) {
        if (LOWORD(wp) == kWidBoxId) Box_Change(style_.width, sv_wid_, txt_wid_);
        if (LOWORD(wp) == kAlpBoxId) Box_Change(style_.alpha, sv_alp_, txt_alp_);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo
