// Saving a pinned image to a file ("保存为").
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/savepic.h"

namespace vardo {

// Asks for the file name: PNG, JPEG, GIF and BMP filters; a name typed
// without an extension gets the chosen filter's. Empty when cancelled.
std::optional<std::wstring> AskPinnedSaveName(HWND owner);

// Writes the picture to `path` in the format the name's extension selects
// (PNG, JPEG at quality 80, GIF or BMP). A name that selects no format
// writes nothing and is not an error. Otherwise the reason when no file
// was written; a failed save leaves any earlier file of that name alone.
std::optional<savepic::SaveError> SavePinnedPicture(HBITMAP picture, const std::wstring& path);

}  // namespace vardo
