#pragma once
#include <windows.h>

#include "common/units.h"

namespace vardo {

// DPI of the monitor the window is on (system DPI when unknown).
int DpiOf(HWND wnd);
// DPI of the primary screen.
int ScreenDpi();
inline int Scale(int px96, int dpi) { return ScaleForDpi(px96, dpi); }

// Message font for the DPI (the system UI font: links to CJK fonts on
// Windows). Caller owns the result.
HFONT CreateMessageFont(int dpi);
// A named font of the given point size at the DPI. Caller owns the result.
HFONT CreatePointFont(const wchar_t* face, double points, int dpi, bool bold = false);

}  // namespace vardo
