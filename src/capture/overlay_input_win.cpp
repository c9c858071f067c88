// The overlay's messages: mouse, timers, the toolbar's tools and actions,
// the text box, close. Text labels take the pointer first, wherever they
// are; the rest goes to the selection and, once a tool is chosen, to it.
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
  // Input, timers and commands find the toolbar built, even when sent
  // before the posted rest of the open sequence has run.
  const bool input = (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
                     msg == WM_TIMER || msg == WM_COMMAND || msg == WM_CLOSE || msg == kMsgToolbarAction ||
                     msg == kMsgToolChosen || msg == kMsgToolStyle;
  if (input && !built_) FinishOpen();
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case kMsgFinishOpen:
      FinishOpen();
      return 0;
    case kMsgPrepared:
      // The darkened copy is there: the first dimming pass replaces the
      // plain picture (unless detection ran it already).
      if (AwaitPrepared() && plain_) Redraw();
      return 0;
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
    // The window takes double-clicks for the labels; elsewhere a second
    // click is a press like the first.
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(lp);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      OnPress(capture::Button::Right, lp);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      OnPress(capture::Button::Middle, lp);
      return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      OnPress(capture::Button::Other, lp);
      return TRUE;
    case WM_CAPTURECHANGED:
      OnCaptureLost();
      return 0;
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
    case kMsgToolChosen:
      OnToolChosen(static_cast<int>(wp));
      return 0;
    case kMsgToolStyle:
      OnToolStyle();
      return 0;
    case WM_COMMAND:
      if (lp && reinterpret_cast<HWND>(lp) == text_.box()) {
        text_.OnBoxCommand(HIWORD(wp));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == text_.box()) return text_.BoxColours(reinterpret_cast<HDC>(wp));
      break;
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
  const capture::Point p = PointOf(lp);
  if (button == capture::Button::Left && text_.Press(p)) return;
  if (button == capture::Button::Right &&
      text_.RightPress(p, [this] { return host_ && host_->PopupTextLabelMenu(hwnd()); }))
    return;
  Apply(model_->Press(button, p));
  if (button == capture::Button::Left && model_ && model_->phase() == capture::Phase::Annotating)
    tools_.Press(p, toolbar_.style());
}

void OverlayWindow::OnDoubleClick(LPARAM lp) {
  if (!model_) return;
  if (!text_.DoubleClick(PointOf(lp))) OnPress(capture::Button::Left, lp);
}

void OverlayWindow::OnMove(WPARAM wp, LPARAM lp) {
  if (!model_) return;
  const capture::Point p = PointOf(lp);
  const bool left = (wp & MK_LBUTTON) != 0;
  if (!text_.Move(p)) {
    Apply(model_->Move(p, left));
    if (model_->phase() == capture::Phase::Annotating) tools_.Move(p, left, toolbar_.style().width.value());
  }
  UpdateMagnifier(p);
}

void OverlayWindow::OnRelease(capture::Button button, LPARAM lp) {
  const capture::Point p = PointOf(lp);
  text_.Release();
  // The release point ends the stroke even when the last moves were merged.
  if (tools_.stroke_running()) FinishStroke(p);
  if (GetCapture() == hwnd()) ReleaseCapture();
  if (!model_) return;
  Apply(model_->Release(button, p));
}

void OverlayWindow::OnCaptureLost() {
  // Another window took the pointer mid-drag: what was drawn so far stays.
  text_.CaptureLost();
  if (tools_.stroke_running()) FinishStroke();
}

void OverlayWindow::FinishStroke(std::optional<capture::Point> last) {
  if (const std::optional<capture::Point> at = tools_.Release(last)) text_.OpenBoxAt(*at);
}

void OverlayWindow::OnToolChosen(int mode) {
  if (!model_ || !model_->selected() || Busy()) return;
  AwaitGdiplus();
  // Strokes go onto what the selection shows now.
  EnsureSurface();
  model_->SetToolMode(mode);
  tools_.Choose(mode, model_->selection());
  toolbar_.SetChosenTool(mode);
  if (host_) host_->SetLayerTimer(false);
}

void OverlayWindow::OnToolStyle() {
  const capture::ToolStyle& style = toolbar_.style();
  text_.SetStyle(style.colour, style.font);
}

void OverlayWindow::Apply(const capture::Reaction& r) {
  if (r.capture_mouse) SetCapture(hwnd());
  if (r.stop_detection) KillTimer(hwnd(), kPosTimer);
  if (r.reset) {
    tools_.Reset();
    toolbar_.SetChosenTool(-1);
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

bool OverlayWindow::Busy() const {
  if (!hwnd()) return false;
  if (!IsWindowEnabled(hwnd())) return true;  // a dialog of the overlay is open
  // So is a menu (a label's, the text box's): it would lose its owner.
  GUITHREADINFO gti{};
  gti.cbSize = sizeof(gti);
  return GetGUIThreadInfo(GetCurrentThreadId(), &gti) && (gti.flags & GUI_INMENUMODE);
}

void OverlayWindow::OnPosTimer() {
  if (!model_ || model_->selected() || Busy()) return;
  // The first tick after the open waits for the candidates rather than
  // showing none.
  if (!AwaitPrepared()) return;
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
