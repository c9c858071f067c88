// Freezing the primary screen: the screen picture, taken before the overlay
// becomes visible, and the window candidates for detection.
#pragma once
#include <windows.h>

#include <vector>

#include "capture/geometry.h"
#include "common/handles_win.h"

namespace vardo {

// Visible top-level windows in stacking order (topmost first), each
// preceded by its visible descendants in EnumChildWindows order, with their
// window rectangles. Top-level windows of class `skip_class` and the window
// `skip` are left out with their descendants: the overlay may already be
// showing, and the pin layer is never a candidate.
std::vector<capture::WinRect> GatherCandidateWindows(const wchar_t* skip_class = nullptr, HWND skip = nullptr);

// Lets the windows of this thread that the pin layer or a closing overlay
// covered until now repaint, before the screen is copied: without a
// compositor keeping their pictures, the copy would hold whatever covered
// them (a previous capture's darkened screen, a pin). Only paint messages
// run here, never input. Without a compositor (under Wine) it also waits
// until the display has taken the closing of our own windows, and, when
// they covered the whole screen (`whole_screen`), until the programs of the
// other windows have had time to redraw (200 ms at most).
void RepaintUncoveredWindows(bool whole_screen = false);

// Copies the primary screen (physical pixels) into a new 32-bit DIB.
bool FreezeScreen(MemoryCanvas& out, int width, int height);

// Copies one DIB canvas into another of the same size (new canvas).
bool CopyCanvas(const MemoryCanvas& from, MemoryCanvas& to);

}  // namespace vardo
