// The overlay's toolbar `Tools`: a child panel beside the selection, dragged
// by its background. It carries the close button `Exi`.
#pragma once
#include <windows.h>

#include "capture/geometry.h"
#include "common/window_win.h"

namespace vardo {

// Posted to the overlay when `Exi` is clicked.
constexpr UINT kMsgExitClicked = WM_APP + 0x41;

// The 25 x 25 close button: a red square with a white cross, tip "退出".
class ExitButton : public Window {
 public:
  bool Create(HWND parent, int x, int y, int size, HWND notify);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc) const;
  HWND notify_ = nullptr;
  HWND tip_ = nullptr;
  bool pressed_ = false;
};

class Toolbar : public Window {
 public:
  // Design size at 96 DPI.
  static constexpr int kWidth = 225;
  static constexpr int kHeight = 113;
  static constexpr int kExitX = 197;
  static constexpr int kExitSize = 25;

  // Creates the hidden panel on `overlay`, scaled for `dpi`.
  bool Create(HWND overlay, int dpi);
  capture::Size size() const { return size_; }
  void ShowAt(capture::Point p);
  void Hide();
  HWND exit_button() const { return exit_.hwnd(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  capture::Size size_{};
  ExitButton exit_;
  bool dragging_ = false;
  POINT press_{};
};

}  // namespace vardo
