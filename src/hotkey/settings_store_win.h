// modini: the hotkey's stored settings. One program-wide INI path ("set.ini"
// beside the program unless the control says otherwise), profile reads and
// writes through it, and the per-user registry store the control can use
// instead.
#pragma once
#include <windows.h>

#include <string>

namespace vardo::hotkey {

// IniPath = program folder + file name, joined with exactly one backslash.
void SetINIPath(const std::wstring& file_name);
// Sets the full path directly (tests, other folders).
void SetINIPathFull(const std::wstring& path);
const std::wstring& IniPath();

// Reads a value of at most 254 characters. An empty value, or an absent key
// with an empty default, reads as ""; an absent key or file with a non-empty
// default reads as the default.
std::wstring ReadINI(const std::wstring& section, const std::wstring& key, const std::wstring& default_value);
// Writes a value; creates the file (plain ANSI profile text) when absent.
// Returns whether the write succeeded; callers may ignore it.
bool WriteINI(const std::wstring& section, const std::wstring& key, const std::wstring& value);

// Per-user registry store: string values under
//   HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>
// (the classic location of per-user application settings, so older copies
// of the program find the same values).
std::wstring RegistrySettingsKey(const std::wstring& app, const std::wstring& section);
std::wstring ReadRegistrySetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& default_value);
bool WriteRegistrySetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                          const std::wstring& value);

}  // namespace vardo::hotkey
