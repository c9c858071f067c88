#include "capture/toolbar_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/dpi_win.h"
#include "common/handles_win.h"

namespace vardo {

namespace {
constexpr wchar_t kToolbarClass[] = L"VardoCaptureTools";
constexpr wchar_t kExitClass[] = L"VardoCaptureExi";
}  // namespace

bool ExitButton::Create(HWND parent, int x, int y, int size, HWND notify) {
  notify_ = notify;
  if (!Window::RegisterClass(kExitClass, 0, LoadCursorW(nullptr, IDC_HAND))) return false;
  if (!Window::Create(0, kExitClass, L"退出", WS_CHILD | WS_VISIBLE, x, y, size, size, parent)) return false;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  if (tip_) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
    ti.lpszText = const_cast<wchar_t*>(L"退出");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return true;
}

void ExitButton::Paint(HDC dc) const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  FillRect(dc, &rc, red.get());
  // The cross spans the middle half of the square.
  const int n = rc.right;
  const int pen_width = n >= 32 ? 3 : 2;
  UniquePen white(CreatePen(PS_SOLID, pen_width, RGB(255, 255, 255)));
  SelectGuard pen(dc, white.get());
  const int a = n / 4, b = n - n / 4 - 1;
  MoveToEx(dc, a, a, nullptr);
  LineTo(dc, b, b);
  MoveToEx(dc, b, a, nullptr);
  LineTo(dc, a, b);
}

LRESULT ExitButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(hwnd());
      return 0;
    case WM_LBUTTONUP: {
      const bool was = pressed_;
      pressed_ = false;
      if (GetCapture() == hwnd()) ReleaseCapture();
      RECT rc;
      GetClientRect(hwnd(), &rc);
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      // Closing destroys this button, so the overlay does it after we return.
      if (was && PtInRect(&rc, p)) PostMessageW(notify_, kMsgExitClicked, 0, 0);
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

bool Toolbar::Create(HWND overlay, int dpi) {
  if (!Window::RegisterClass(kToolbarClass, 0, nullptr, GetSysColorBrush(COLOR_WINDOW))) return false;
  size_ = capture::Size{Scale(kWidth, dpi), Scale(kHeight, dpi)};
  if (!Window::Create(0, kToolbarClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, size_.width, size_.height,
                      overlay))
    return false;
  return exit_.Create(hwnd(), Scale(kExitX, dpi), 0, Scale(kExitSize, dpi), overlay);
}

void Toolbar::ShowAt(capture::Point p) {
  SetWindowPos(hwnd(), HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Toolbar::Hide() {
  dragging_ = false;
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

LRESULT Toolbar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      dragging_ = true;
      press_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      SetCapture(hwnd());
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && (wp & MK_LBUTTON)) {
        // Follow the cursor: move by (point inside - press point).
        RECT r;
        GetWindowRect(hwnd(), &r);
        POINT origin{r.left, r.top};
        ScreenToClient(GetParent(hwnd()), &origin);
        const int x = origin.x + GET_X_LPARAM(lp) - press_.x;
        const int y = origin.y + GET_Y_LPARAM(lp) - press_.y;
        SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    case WM_LBUTTONUP:
      dragging_ = false;
      if (GetCapture() == hwnd()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace vardo
