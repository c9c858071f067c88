// Composing an output picture (`Rect`) from the overlay's surface.
#pragma once
#include <windows.h>

#include "capture/geometry.h"
#include "common/handles_win.h"

namespace vardo {

// The pixels of `area` (a part of the surface) as a new screen-compatible
// bitmap, selected into no device context, ready for the clipboard or a
// file; null when memory runs out.
UniqueBitmap ComposeOutput(const MemoryCanvas& surface, const capture::Rect& area);

}  // namespace vardo
