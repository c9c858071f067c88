#include "common/window_win.h"


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

namespace {

// Each hooked control carries the procedure it had before the hook and the
// hook object, as window properties. The window procedure is replaced
// directly, so the program's first windows need no common-controls library.
constexpr wchar_t kPreviousProc[] = L"WinProc";
constexpr wchar_t kHookObject[] = L"Object";

WNDPROC PreviousProc(HWND wnd) { return reinterpret_cast<WNDPROC>(GetPropW(wnd, kPreviousProc)); }

LRESULT CallProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return proc ? CallWindowProcW(proc, wnd, msg, wp, lp) : DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

ControlHook::~ControlHook() { Detach(); }

bool ControlHook::Attach(HWND control) {
  Detach();
  if (!control) return false;
  const auto ours = reinterpret_cast<LONG_PTR>(&HookProc);
  if (GetPropW(control, kPreviousProc)) {
    // Our procedure is still in the chain under a later subclass (see
    // Detach): take it up again, unless another hook holds it.
    if (GetPropW(control, kHookObject) || !SetPropW(control, kHookObject, this)) return false;
    control_ = control;
    return true;
  }
  const LONG_PTR previous = GetWindowLongPtrW(control, GWLP_WNDPROC);
  if (!previous || !SetPropW(control, kPreviousProc, reinterpret_cast<HANDLE>(previous))) return false;
  if (!SetPropW(control, kHookObject, this) || !SetWindowLongPtrW(control, GWLP_WNDPROC, ours)) {
    RemovePropW(control, kHookObject);
    RemovePropW(control, kPreviousProc);
    return false;
  }
  control_ = control;
  return true;
}

void ControlHook::Detach() {
  if (!control_) return;
  HWND control = control_;
  control_ = nullptr;
  if (GetPropW(control, kHookObject) == this) RemovePropW(control, kHookObject);
  // The old procedure goes back only while ours is the one in place; under
  // a later subclass (a tooltip's) ours stays and passes every message on.
  if (GetWindowLongPtrW(control, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HookProc)) {
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviousProc(control)));
    RemovePropW(control, kPreviousProc);
  }
}

LRESULT ControlHook::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) {
  return control_ ? CallProc(PreviousProc(control_), control_, msg, wp, lp) : 0;
}

LRESULT CALLBACK ControlHook::HookProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  const WNDPROC previous = PreviousProc(wnd);
  auto* self = static_cast<ControlHook*>(GetPropW(wnd, kHookObject));
  if (msg == WM_NCDESTROY) {
    if (self) self->control_ = nullptr;
    RemovePropW(wnd, kHookObject);
    RemovePropW(wnd, kPreviousProc);
    if (GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HookProc))
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallProc(previous, wnd, msg, wp, lp);
  }
  LRESULT result = 0;
  if (self && self->OnControlMessage(msg, wp, lp, &result)) return result;
  return CallProc(previous, wnd, msg, wp, lp);
}

bool ClickTracker::OnMessage(HWND window, UINT msg, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
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
