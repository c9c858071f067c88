// Text forms of the stored hotkey: decimal codes and the INI file's path.
#pragma once

#include <string>

namespace vardo::hotkey {

// Longest value a profile read returns (its buffer holds 255 characters
// including the terminating NUL).
constexpr int kProfileBufferChars = 255;

// A stored decimal number (a key code or modifier flags) as a 32-bit
// integer. Surrounding blanks are allowed; anything else that is not a whole
// decimal number in range (empty text, "12abc", "0x2C", 99999999999) reads
// as 0. A number is kept as it is, even one that no key or modifier set
// has: RegisterHotKey judges it, and a refusal clears the box.
int ParseStoredNumber(const std::string& text);

// Program folder and file name joined with exactly one backslash, also
// when the folder is a drive root ("C:\") or the name starts with one.
std::string JoinIniPath(const std::string& folder, const std::string& file_name);

}  // namespace vardo::hotkey
