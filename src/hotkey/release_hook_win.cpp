#include "hotkey/release_hook_win.h"

#include <commctrl.h>

#include <utility>

namespace vardo::hotkey {

bool ReleaseHook::Attach(HWND target, std::function<void()> on_release) {
  on_release_ = std::move(on_release);
  pressed_ = false;
  return ControlHook::Attach(target);
}

bool ReleaseHook::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second click is a press too
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      pressed_ = true;
      return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (!pressed_) return false;
      pressed_ = false;
      *result = CallPrevious(msg, wp, lp);
      if (on_release_) on_release_();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace vardo::hotkey
