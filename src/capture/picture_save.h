// Saving a pinned image: the save dialog's filter and the format a chosen
// file name selects.
#pragma once
#include <string>
#include <string_view>

namespace vardo::pin {

enum class SaveType { kNone, kPng, kJpeg, kGif, kBmp };

// The format for a file name, by the text after its last "." in any case:
// "png", "jpg", "gif" or "bmp". Anything else ("jpeg", "tif", no
// extension) writes nothing.
SaveType SaveTypeFor(std::string_view file_name);

// Quality of the JPEG files written.
constexpr int kJpegQuality = 80;

// The dialog's filter as the dialog takes it: label and pattern pairs,
// each followed by a NUL, the list ending in a second NUL. UTF-8.
std::string SaveFilterList();

}  // namespace vardo::pin
