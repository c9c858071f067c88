// Text forms of the stored hotkey: decimal codes and the INI file's path.
#pragma once

#include <string>

namespace vardo::hotkey {

// Longest value a profile read returns (its buffer holds 255 characters
// including the terminating NUL).
constexpr int kProfileBufferChars = 255;

// A stored decimal number as a 32-bit integer. Surrounding blanks are
// allowed; anything else that is not a whole decimal number in range
// (empty text, "12abc", "0x2C", 99999999999) reads as 0.
int ParseStoredNumber(const std::string& text);

// A stored key code usable as a main key (1..254), else 0.
int StoredKeyCode(const std::string& text);
// Stored modifier flags (Alt 1, Ctrl 2, Shift 4, Win 8), else 0.
int StoredModKeyCode(const std::string& text);

// Program folder and file name joined with exactly one backslash, also
// when the folder is a drive root ("C:\") or the name starts with one.
std::string JoinIniPath(const std::string& folder, const std::string& file_name);

}  // namespace vardo::hotkey
