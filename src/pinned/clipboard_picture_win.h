// Reading the clipboard's bitmap as a picture the layer owns.
#pragma once
#include <windows.h>

#include "common/handles_win.h"
#include "pinned/pin_model.h"

namespace vardo {

// A copy of the clipboard's bitmap (CF_BITMAP) as a 32-bit DIB section, and
// its size. Empty when the clipboard holds no bitmap or stays busy for as
// long as a copy waits for it.
UniqueBitmap PictureFromClipboard(HWND owner, pin::Size* size);

// A 32-bit DIB copy of any bitmap.
UniqueBitmap CopyPicture(HBITMAP source, pin::Size* size);

}  // namespace vardo
