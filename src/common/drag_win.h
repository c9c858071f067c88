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

namespace vardo {

// The same effect as the move loop, tracked here: after a left press the
// window follows the pointer by the pointer's movement until the button is
// released, and stays there. Used where the platform's title-bar move loop
// does not run for borderless windows and child controls.
class PointerDrag {
 public:
  // On a left press over `window`: a top-level window, or a child control
  // that moves inside its parent (nothing happens when the top-level window
  // is maximised). With `keep_inside` a child stays whole inside its
  // parent's client area; otherwise nothing clamps it.
  void Begin(HWND window, bool keep_inside = false);
  // Lets the drag take the dragged window's messages once it has begun:
  // moves with the left button held follow the pointer, the release ends
  // the drag and a capture lost to another window cancels it. True when the
  // message was the drag's.
  bool OnMessage(UINT msg, WPARAM wp);
  // On every pointer move while the left button is held.
  void Move();
  // On the release; also safe when no drag runs.
  void End();
  // The capture went elsewhere: stop without touching it.
  void Cancel() { window_ = nullptr; }
  bool active() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
  bool keep_inside_ = false;
  POINT pointer_from_{};
  POINT window_from_{};  // in the parent's client coordinates for a child
};

}  // namespace vardo
