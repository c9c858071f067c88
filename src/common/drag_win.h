// Moving borderless windows and child controls with the pointer by handing
// the move to the platform's title-bar move loop.
#pragma once
#include <windows.h>

namespace vardo {

// Moves a top-level window with the pointer while the left button is held.
// A maximised window never moves.
void DragWindow(HWND window);

// Moves `control` inside its parent `window` with the pointer while the
// left button is held. Nothing happens when the parent is maximised.
void DragControl(HWND window, HWND control);

}  // namespace vardo
