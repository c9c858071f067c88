#include "pinned/pin_save.h"

#include "pinned/pin_model.h"

namespace vardo::pin {

SaveType SaveTypeFor(std::string_view file_name) {
  const std::string type = FileTypeOf(file_name);
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

}  // namespace vardo::pin
