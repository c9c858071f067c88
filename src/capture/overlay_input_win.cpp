// The overlay's messages: mouse, timers, close.
#include <windowsx.h>

#include "capture/overlay_window_win.h"

namespace vardo {

namespace {

capture::Point PointOf(LPARAM lp) { return capture::Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

bool ChordDown() {
  // Control+Shift+C, all three held.
  const SHORT c = GetAsyncKeyState('C');
  const SHORT ctrl = GetAsyncKeyState(VK_CONTROL);
  const SHORT shift = GetAsyncKeyState(VK_SHIFT);
  return (c & ctrl & shift & 0x8000) != 0;
}

// Lets pending messages run (the old overlay's teardown, repaints of the
// windows it uncovered) before the screen is copied again.
void PumpPendingMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace

LRESULT OverlayWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      OnPress(capture::Button::Left, lp);
      return 0;
    case WM_RBUTTONDOWN:
      OnPress(capture::Button::Right, lp);
      return 0;
    case WM_MBUTTONDOWN:
      OnPress(capture::Button::Middle, lp);
      return 0;
    case WM_XBUTTONDOWN:
      OnPress(capture::Button::Other, lp);
      return TRUE;
    case WM_MOUSEMOVE:
      OnMove(wp, lp);
      return 0;
    case WM_LBUTTONUP:
      OnRelease(capture::Button::Left, lp);
      return 0;
    case WM_TIMER:
      if (wp == kPosTimer) OnPosTimer();
      if (wp == kHotKeyTimer) OnHotKeyTimer();
      return 0;
    case kMsgExitClicked:
      OnExit();
      return 0;
    case WM_SYSCOMMAND:
      // No keyboard commands on the overlay (Alt+F4, Alt menu).
      if ((wp & 0xFFF0) == SC_CLOSE || (wp & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_CLOSE:
      // Closed from outside: end like the close button, so the pin layer
      // comes back instead of staying hidden.
      OnExit();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void OverlayWindow::OnPress(capture::Button button, LPARAM lp) {
  if (!model_) return;
  Apply(model_->Press(button, PointOf(lp)));
}

void OverlayWindow::OnMove(WPARAM wp, LPARAM lp) {
  if (!model_) return;
  Apply(model_->Move(PointOf(lp), (wp & MK_LBUTTON) != 0));
}

void OverlayWindow::OnRelease(capture::Button button, LPARAM lp) {
  if (GetCapture() == hwnd()) ReleaseCapture();
  if (!model_) return;
  Apply(model_->Release(button, PointOf(lp)));
}

void OverlayWindow::Apply(const capture::Reaction& r) {
  if (r.capture_mouse) SetCapture(hwnd());
  if (r.stop_detection) KillTimer(hwnd(), kPosTimer);
  if (r.reset) {
    toolbar_.Hide();
    SetTimer(hwnd(), kPosTimer, 50, nullptr);
  }
  if (r.redraw) Redraw();
  if (r.fixed) {
    toolbar_.ShowAt(capture::PlaceToolbar(model_->selection(), toolbar_.size(), model_->surface().height));
  }
}

void OverlayWindow::ReLoad() {
  if (model_) Apply(model_->Reset());
}

void OverlayWindow::OnPosTimer() {
  if (!model_ || model_->selected()) return;
  POINT p;
  if (!GetCursorPos(&p)) return;
  Apply(model_->Detect(candidates_, capture::Point{p.x, p.y}));
}

void OverlayWindow::OnHotKeyTimer() {
  if (!ChordDown()) {
    hotkey_latch_ = false;
    return;
  }
  if (hotkey_latch_ || !host_) return;
  OverlayHost* host = host_;
  Unload();
  PumpPendingMessages();
  if (!Open(*host)) {
    host->ShowLayer();
    return;
  }
  hotkey_latch_ = true;
}

void OverlayWindow::OnExit() {
  OverlayHost* host = host_;
  Unload();
  if (host) host->ShowLayer();
}

}  // namespace vardo
