#include "capture/picture_save.h"

#include "capture/helpers.h"

namespace vardo::capture {

SaveType SaveTypeFor(std::string_view file_name) {
  const size_t folder = file_name.find_last_of("\\/");
  const std::string_view file = folder == std::string_view::npos ? file_name : file_name.substr(folder + 1);
  std::string type = FileExtension(std::string(file));
  for (char& c : type)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (type == "png") return SaveType::kPng;
  if (type == "jpg") return SaveType::kJpeg;
  if (type == "gif") return SaveType::kGif;
  if (type == "bmp") return SaveType::kBmp;
  return SaveType::kNone;
}

std::string SaveFilterList() {
  const std::string_view filter = "PNG文件(*.png)|*.png|JPEG文件(*.jpg)|*.jpg|GIF文件(*.gif)|*.gif|BMP文件(*.bmp)|*.bmp";
  std::string list;
  for (char c : filter) list.push_back(c == '|' ? '\0' : c);
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

}  // namespace vardo::capture
