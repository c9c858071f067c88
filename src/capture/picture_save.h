// Saving a capture or a pinned image to a file: the save dialog's filter
// and the format a chosen file name selects.
#pragma once
#include <string>
#include <string_view>

namespace vardo::capture {

enum class SaveType { kNone, kPng, kJpeg, kGif, kBmp };

// The format for a file name, by the text after the last "." of its file
// part, in any case: "png", "jpg", "gif" or "bmp". Anything else ("jpeg",
// "tif", no extension) selects none.
SaveType SaveTypeFor(std::string_view file_name);

// Quality of the JPEG files written.
constexpr int kJpegQuality = 80;

// The dialog's filter as the dialog takes it: label and pattern pairs,
// each followed by a NUL, the list ending in a second NUL. UTF-8.
std::string SaveFilterList();

}  // namespace vardo::capture
