// Saving a capture or a pinned image to a file.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/savepic.h"

namespace vardo::capture {

// Asks for the file name, in a dialog owned by `owner`: PNG, JPEG, GIF and
// BMP filters; a name typed without an extension gets the chosen filter's.
// Empty when cancelled.
std::optional<std::wstring> AskPictureSaveName(HWND owner);

// Writes the picture to `path` in the format the name's extension selects
// (PNG, JPEG at quality 80, GIF or BMP). A name that selects no format
// writes nothing and is not an error; callers that must refuse such a name
// check SaveTypeFor first. Otherwise the reason when no file was written;
// a failed save leaves no partial file and any earlier file of that name
// alone. The picture must not be selected into a device context.
std::optional<savepic::SaveError> SavePictureFile(HBITMAP picture, const std::wstring& path);

}  // namespace vardo::capture
