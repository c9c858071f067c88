#include "hotkey/stored_value.h"

#include <charconv>
#include <cstdint>

namespace vardo::hotkey {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

int ParseStoredNumber(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  if (b < e && text[b] == '+') {
    ++b;  // from_chars takes '-' only, so it must not follow a '+'
    if (b < e && text[b] == '-') return 0;
  }
  if (b == e) return 0;
  int32_t value = 0;
  const char* first = text.data() + b;
  const char* last = text.data() + e;
  auto [end, ec] = std::from_chars(first, last, value, 10);
  if (ec != std::errc() || end != last) return 0;
  return value;
}

std::string JoinIniPath(const std::string& folder, const std::string& file_name) {
  if (folder.empty()) return file_name;
  std::string path = folder;
  while (path.size() > 1 && IsSeparator(path.back()) && IsSeparator(path[path.size() - 2])) path.pop_back();
  size_t skip = 0;
  while (skip < file_name.size() && IsSeparator(file_name[skip])) ++skip;
  if (!IsSeparator(path.back())) path += '\\';
  return path + file_name.substr(skip);
}

}  // namespace vardo::hotkey
