#include "common/savepic.h"

#include <cstring>

namespace vardo::savepic {

std::string FilterList() {
  static const char* const kItems[] = {
      "PNG File(*.PNG)",    "*.PNG", "JPEG File(*.jpg;*.jpeg)", "*.jpg", "Bitmap File(*.bmp)", "*.bmp",
      "GIF File(*.gif)",    "*.gif", "TIFF File(*.TIFF)",       "*.tiff", "All File(*.*)",     "*.*",
  };
  std::string s;
  for (const char* item : kItems) {
    s += item;
    s += '\0';
  }
  s += '\0';
  return s;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string ExtensionOf(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  return std::string(name.substr(dot + 1));
}

bool EncoderTakesExtension(std::string_view patterns, std::string_view ext) {
  if (ext.empty()) return false;
  const std::string want = "*." + Lower(ext);
  const std::string list = Lower(patterns);
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t end = list.find(';', pos);
    if (end == std::string::npos) end = list.size();
    std::string item = list.substr(pos, end - pos);
    while (!item.empty() && item.front() == ' ') item.erase(item.begin());
    while (!item.empty() && item.back() == ' ') item.pop_back();
    if (item == want) return true;
    pos = end + 1;
  }
  return false;
}

std::optional<size_t> ChooseEncoder(const std::vector<std::string>& pattern_lists, std::string_view ext) {
  for (size_t i = 0; i < pattern_lists.size(); ++i)
    if (EncoderTakesExtension(pattern_lists[i], ext)) return i;
  return std::nullopt;
}

const Guid kEncoderQuality = {0xB5, 0xE4, 0x5B, 0x1D, 0x4A, 0xFA, 0x2D, 0x45,
                              0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB};
const Guid kEncoderCompression = {0x9D, 0x73, 0x9D, 0xE0, 0xD4, 0xCC, 0xEE, 0x44,
                                  0x8E, 0xBA, 0x3F, 0xBF, 0x8B, 0xE4, 0xFC, 0x58};
const Guid kEncoderColorDepth = {0x55, 0x70, 0x08, 0x66, 0x66, 0xAD, 0x7C, 0x4C,
                                 0x9A, 0x18, 0x38, 0xA2, 0x31, 0x0B, 0x83, 0x37};

std::vector<EncoderParameter> ParametersFor(std::string_view ext, uint32_t jpeg_quality, uint32_t tiff_depth,
                                            uint32_t tiff_compression) {
  const std::string e = Lower(ext);
  if (e == "jpg") return {EncoderParameter{kEncoderQuality, jpeg_quality}};
  if (e == "tiff")
    return {EncoderParameter{kEncoderCompression, tiff_compression}, EncoderParameter{kEncoderColorDepth, tiff_depth}};
  return {};
}

size_t ParameterBlockSize(size_t count, size_t pointer_size) {
  const size_t record = 16 + 4 + 4 + pointer_size;
  return pointer_size + count * record;  // the count is padded to pointer alignment
}

namespace {
void PutLe(std::vector<uint8_t>& out, size_t at, uint64_t v, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
}  // namespace

std::vector<uint8_t> LayoutParameters(const std::vector<EncoderParameter>& params, size_t pointer_size,
                                      uint64_t base) {
  const size_t header = ParameterBlockSize(params.size(), pointer_size);
  std::vector<uint8_t> out(header + 4 * params.size(), 0);
  PutLe(out, 0, params.size(), 4);
  const size_t record = 16 + 4 + 4 + pointer_size;
  for (size_t i = 0; i < params.size(); ++i) {
    const size_t at = pointer_size + i * record;
    const size_t value_at = header + 4 * i;
    std::memcpy(&out[at], params[i].guid.data(), 16);
    PutLe(out, at + 16, 1, 4);
    PutLe(out, at + 20, kValueTypeLong, 4);
    PutLe(out, at + 24, base + value_at, pointer_size);
    PutLe(out, value_at, params[i].value, 4);
  }
  return out;
}

SaveError NoPictureError() { return {kNoPicture, "没有可保存的图片"}; }

SaveError NoEncoderError(std::string_view ext) {
  if (ext.empty()) return {kNoEncoder, "文件名没有扩展名, 无法确定图片格式"};
  return {kNoEncoder, "没有可以写入扩展名为 \"." + std::string(ext) + "\" 的图片格式的编码器"};
}

SaveError GdiplusStartError(int status) { return {status, "GDI+ 无法启动"}; }

SaveError BitmapError(int status) { return {status, "无法从图片创建 GDI+ 位图"}; }

SaveError EncoderError(int status, std::string_view path) {
  return {status, "无法写入文件 \"" + std::string(path) + "\""};
}

SaveError NothingWrittenError(std::string_view path) {
  return {kNothingWritten, "文件 \"" + std::string(path) + "\" 没有被写入"};
}

std::string ErrorMessage(const SaveError& error) {
  return "在保存图片的过程中发生错误:\r\n\r\n错误号: " + std::to_string(error.number) + "\r\n错误描述: " +
         error.description;
}

}  // namespace vardo::savepic
