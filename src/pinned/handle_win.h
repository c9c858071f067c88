// The layer's handle (getimg): a small tile that opens the handle menu on a
// right press and can be dragged anywhere on the layer.
#pragma once
#include <windows.h>

#include "common/window_win.h"

namespace vardo {

class PinLayer;

class HandleBox final : public Window {
 public:
  explicit HandleBox(PinLayer& layer) : layer_(layer) {}
  bool CreateOn(HWND layer, int x, int y, int size);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint();
  PinLayer& layer_;
};

// Draws the handle tile (white, dashed dark outline, dark plus) into a
// square of the given side at the given DPI.
void DrawHandleTile(HDC dc, int side, int dpi);

}  // namespace vardo
