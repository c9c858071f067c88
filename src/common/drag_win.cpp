#include "common/drag_win.h"

#include <algorithm>

namespace vardo {

namespace {
HWND ParentOfChild(HWND w) { return (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr; }
}  // namespace

void PointerDrag::Begin(HWND window, bool keep_inside) {
  if (!window || IsZoomed(GetAncestor(window, GA_ROOT))) return;
  RECT r{};
  GetWindowRect(window, &r);
  if (HWND parent = ParentOfChild(window)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  GetCursorPos(&pointer_from_);
  window_from_ = {r.left, r.top};
  keep_inside_ = keep_inside;
  window_ = window;
  SetCapture(window);
}

void PointerDrag::Move() {
  if (!window_) return;
  POINT p{};
  GetCursorPos(&p);
  int x = window_from_.x + p.x - pointer_from_.x, y = window_from_.y + p.y - pointer_from_.y;
  HWND parent = ParentOfChild(window_);
  if (parent && keep_inside_) {
    RECT pr{}, wr{};
    GetClientRect(parent, &pr);
    GetWindowRect(window_, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    x = std::clamp(x, 0, std::max(0, static_cast<int>(pr.right) - w));
    y = std::clamp(y, 0, std::max(0, static_cast<int>(pr.bottom) - h));
  }
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
