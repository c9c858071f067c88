// Runs a callback when a mouse button goes up after it went down on a
// control, once the control has handled the release itself (a check box
// has toggled by then). Key presses do not trigger it.
#pragma once
#include <windows.h>

#include <functional>

#include "common/window_win.h"

namespace vardo::hotkey {

class ReleaseHook : private ControlHook {
 public:
  bool Attach(HWND target, std::function<void()> on_release);
  void Detach() { ControlHook::Detach(); }

 private:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  std::function<void()> on_release_;
  bool pressed_ = false;
};

}  // namespace vardo::hotkey
