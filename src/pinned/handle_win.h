// The layer's handle (getimg): a small tile drawn by the layer itself.
// It holds no window of its own: a child window on a colour-keyed layer
// stops clicks from passing through the layer on some platforms.
#pragma once
#include <windows.h>

namespace vardo {

// Draws the handle tile (white, dashed dark outline, dark plus) into a
// square of the given side at (x, y) at the given DPI.
void DrawHandleTile(HDC dc, int x, int y, int side, int dpi);

}  // namespace vardo
