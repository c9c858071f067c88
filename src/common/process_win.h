#pragma once
#include <windows.h>

#include <string>

#include "common/handles_win.h"

namespace vardo {

// First thing every program does: restrict DLL loading to the system folder
// (so delay-loaded GDI+ can never come from the program's folder) and turn
// on per-monitor DPI awareness where the manifest was not honoured.
void InitProcess();

// Holds a named mutex for the program's lifetime. Empty when another
// instance already holds it.
UniqueHandle ClaimSingleInstance(const wchar_t* name);

// Folder that holds the running program file, without a trailing separator
// except at a drive root ("C:\").
std::wstring ProgramFolder();

// Joins a folder and a relative path with exactly one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& rest);

// UTF-8 <-> UTF-16 at the Win32 edge.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace vardo
