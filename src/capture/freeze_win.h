// Freezing the primary screen: the window candidates for detection and the
// screen picture, both taken before the overlay becomes visible.
#pragma once
#include <windows.h>

#include <vector>

#include "capture/geometry.h"
#include "common/handles_win.h"

namespace vardo {

// Visible top-level windows in stacking order (topmost first), each
// preceded by its visible descendants in EnumChildWindows order, with their
// window rectangles.
std::vector<capture::WinRect> GatherCandidateWindows();

// Copies the primary screen (physical pixels) into a new 32-bit DIB.
bool FreezeScreen(MemoryCanvas& out, int width, int height);

// Copies one DIB canvas into another of the same size (new canvas).
bool CopyCanvas(const MemoryCanvas& from, MemoryCanvas& to);

}  // namespace vardo
