// Draws the colour callouts onto a device context (the window's picture,
// the magnifier's source and the saved picture all use the same drawing).
#pragma once
#include <windows.h>

#include "colorpick/callouts.h"

namespace vardo::colorpick {

// Padding round a label's text, in pixels at 96 DPI.
inline constexpr int kLabelPadX = 2, kLabelPadY = 1;

void DrawCallouts(HDC dc, const CalloutBoard& board, HFONT label_font, int swatch_side);

}  // namespace vardo::colorpick
