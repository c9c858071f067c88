#include "common/window_win.h"

#include <commctrl.h>

namespace vardo {

Window::~Window() { Destroy(); }

bool Window::RegisterClass(const wchar_t* class_name, UINT style, HCURSOR cursor, HBRUSH background,
                           HICON icon, HICON small_icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = StaticProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = small_icon;
  wc.lpszClassName = class_name;
  if (RegisterClassExW(&wc)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu) {
  if (hwnd_) return true;
  CreateWindowExW(ex_style, class_name, title, style, x, y, width, height, parent, menu,
                  GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (dc) OnPaint(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::OnPaint(HDC, const RECT&) {}

LRESULT CALLBACK Window::StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = wnd;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(wnd, msg, wp, lp);
  LRESULT r = self->HandleMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
  }
  return r;
}

ControlHook::~ControlHook() { Detach(); }

bool ControlHook::Attach(HWND control) {
  Detach();
  if (!control || !SetWindowSubclass(control, HookProc, 1, reinterpret_cast<DWORD_PTR>(this))) return false;
  control_ = control;
  return true;
}

void ControlHook::Detach() {
  if (control_) RemoveWindowSubclass(control_, HookProc, 1);
  control_ = nullptr;
}

LRESULT CALLBACK ControlHook::HookProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ControlHook*>(data);
  LRESULT result = 0;
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(wnd, HookProc, 1);
    if (self) self->control_ = nullptr;
    return DefSubclassProc(wnd, msg, wp, lp);
  }
  if (self && self->OnControlMessage(msg, wp, lp, &result)) return result;
  return DefSubclassProc(wnd, msg, wp, lp);
}

bool ClickTracker::OnMessage(HWND window, UINT msg, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(window);
      return false;
    case WM_LBUTTONUP: {
      const bool was = pressed_;
      pressed_ = false;
      if (GetCapture() == window) ReleaseCapture();
      RECT rc;
      GetClientRect(window, &rc);
      const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      return was && PtInRect(&rc, p);
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return false;
    default:
      return false;
  }
}

}  // namespace vardo
