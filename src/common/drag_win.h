// Moving borderless windows and child controls with the pointer.
#pragma once
#include <windows.h>

namespace vardo {

// What the platform's title-bar move loop does, tracked here, since that
// loop does not run for borderless windows and child controls everywhere:
// after a left press the window follows the pointer by the pointer's
// movement until the button is released, and stays there.
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
