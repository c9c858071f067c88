// The stored hotkey values on any text: numbers read as an independent
// reading of "a whole decimal number in range, blanks around it" says, and
// an INI path has exactly one backslash where folder and name meet.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hotkey/stored_value.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Blanks, one optional sign, one or more digits, blanks; in int32 range.
int Reference(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  bool negative = false;
  if (b < e && (s[b] == '+' || s[b] == '-')) negative = s[b++] == '-';
  if (b == e) return 0;
  int64_t v = 0;
  for (size_t i = b; i < e; ++i) {
    if (s[i] < '0' || s[i] > '9') return 0;
    v = v * 10 + (s[i] - '0');
    if (v > int64_t{INT32_MAX} + 1) return 0;
  }
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return 0;
  return static_cast<int>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vardo::hotkey;
  const std::string text(reinterpret_cast<const char*>(data), size);
  Check(ParseStoredNumber(text) == Reference(text));

  // Folder and file name split at the first NUL.
  const size_t cut = text.find('\0');
  const std::string folder = text.substr(0, cut);
  const std::string name = cut == std::string::npos ? std::string() : text.substr(cut + 1);
  const std::string path = JoinIniPath(folder, name);
  if (folder.empty()) {
    Check(path == name);
    return 0;
  }
  size_t skip = 0;
  while (skip < name.size() && IsSeparator(name[skip])) ++skip;
  const std::string rest = name.substr(skip);
  Check(path.size() > rest.size() && path.compare(path.size() - rest.size(), rest.size(), rest) == 0);
  const std::string head = path.substr(0, path.size() - rest.size());
  Check(IsSeparator(head.back()));
  // One separator at the joint, unless the folder is nothing but one.
  if (head.size() >= 2) Check(!IsSeparator(head[head.size() - 2]));
  Check(folder.compare(0, head.size() - 1, head, 0, head.size() - 1) == 0);
  return 0;
}
