// Popup menus at the pointer, as the tools open them on their own windows.
#pragma once
#include <windows.h>

namespace vardo {

// Shows a popup menu at the pointer and returns the chosen command (0 when
// dismissed).
UINT TrackMenuAtCursor(HMENU menu, HWND owner);

}  // namespace vardo
