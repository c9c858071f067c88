#include "common/drag_win.h"

namespace vardo {

namespace {
// The move loop reads the pointer itself; lParam only has to be valid.
void StartCaptionMove(HWND target) {
  ReleaseCapture();
  SendMessageW(target, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
}  // namespace

void DragWindow(HWND window) {
  if (!window || IsZoomed(window)) return;
  StartCaptionMove(window);
}

void DragControl(HWND window, HWND control) {
  if (!window || !control || IsZoomed(window)) return;
  StartCaptionMove(control);
}

}  // namespace vardo

namespace vardo {

void PointerDrag::Begin(HWND window) {
  if (!window || IsZoomed(window)) return;
  RECT r{};
  GetWindowRect(window, &r);
  GetCursorPos(&pointer_from_);
  window_from_ = {r.left, r.top};
  if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ScreenToClient(GetParent(window), &window_from_);
  window_ = window;
  SetCapture(window);
}

void PointerDrag::Move() {
  if (!window_) return;
  POINT p{};
  GetCursorPos(&p);
  SetWindowPos(window_, nullptr, window_from_.x + p.x - pointer_from_.x, window_from_.y + p.y - pointer_from_.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool PointerDrag::OnMessage(UINT msg, WPARAM wp) {
  if (!window_) return false;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (wp & MK_LBUTTON) Move();
      return true;
    case WM_LBUTTONUP:
      End();
      return true;
    case WM_CAPTURECHANGED:
      Cancel();
      return true;
    default:
      return false;
  }
}

void PointerDrag::End() {
  if (!window_) return;
  HWND w = window_;
  window_ = nullptr;
  if (GetCapture() == w) ReleaseCapture();
}

}  // namespace vardo
