// The overlay's messages: mouse, timers, the toolbar's actions, close.
#include <windowsx.h>

#include <algorithm>
#include <string>

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
    case WM_ERASEBKGND:
      return 1;
    // The magnifier's readouts are the window's text, for whoever reads it
    // (screen readers, tests).
    case WM_GETTEXT: {
      const std::wstring text = va_.Readouts();
      if (wp == 0 || !lp) return 0;
      const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(wp) - 1);
      text.copy(reinterpret_cast<wchar_t*>(lp), n);
      reinterpret_cast<wchar_t*>(lp)[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(va_.Readouts().size());
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
    case kMsgToolbarAction:
      OnAction(static_cast<ToolbarAction>(wp));
      return 0;
    case WM_SYSCOMMAND:
      // No keyboard commands on the overlay (Alt+F4, Alt menu).
      if ((wp & 0xFFF0) == SC_CLOSE || (wp & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_CLOSE:
      // Closed from outside: end like the close button, so the pin layer
      // comes back instead of staying hidden.
      if (!Busy()) OnExit();
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
  const capture::Point p = PointOf(lp);
  Apply(model_->Move(p, (wp & MK_LBUTTON) != 0));
  UpdateMagnifier(p);
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
  // A reset wipes anything drawn on the surface with a full pass.
  if (r.redraw) {
    if (r.reset) Redraw();
    else RedrawChanged();
  }
  if (r.fixed) {
    toolbar_.ShowAt(capture::PlaceToolbar(model_->selection(), toolbar_.size(), model_->surface().height));
  }
}

void OverlayWindow::ReLoad() {
  if (model_) Apply(model_->Reset());
}

bool OverlayWindow::Busy() const { return hwnd() && !IsWindowEnabled(hwnd()); }

void OverlayWindow::OnPosTimer() {
  if (!model_ || model_->selected() || Busy()) return;
  POINT p;
  if (!GetCursorPos(&p)) return;
  const capture::Point cursor{p.x, p.y};
  const capture::Reaction r = model_->Detect(candidates_, cursor);
  Apply(r);
  // The outline moved under a resting cursor: the readouts follow it.
  if (r.redraw) UpdateMagnifier(cursor);
}

void OverlayWindow::OnHotKeyTimer() {
  if (!ChordDown()) {
    hotkey_latch_ = false;
    return;
  }
  // Not while a dialog of the overlay is open: it would lose its owner.
  if (hotkey_latch_ || !host_ || Busy()) return;
  OverlayHost* host = host_;
  Unload();
  PumpPendingMessages();
  if (!Open(*host)) {
    host->ShowLayer();
    return;
  }
  hotkey_latch_ = true;
}

}  // namespace vardo
