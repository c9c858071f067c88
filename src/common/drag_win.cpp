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
