// Button and shift arguments of the controls' mouse events: buttons 1 left,
// 2 right, 4 middle; shift 1 Shift, 2 Control, 4 Alt.
#pragma once
#include <windows.h>

namespace vardo::controls {

inline int ButtonsOf(WPARAM wp) {
  return ((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0);
}

inline int ShiftOf(WPARAM wp) {
  return ((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) | ((GetKeyState(VK_MENU) & 0x8000) ? 4 : 0);
}

// The button a press or release message is about.
inline int ButtonOfMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return 4;
    default:
      return 0;
  }
}

}  // namespace vardo::controls
