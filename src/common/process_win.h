#pragma once
#include <windows.h>

#include <string>

#include "common/handles_win.h"

namespace vardo {

// First thing every program does: restrict DLL loading to the system folder
// (so delay-loaded GDI+ can never come from the program's folder) and turn
// on per-monitor DPI awareness where the manifest was not honoured.
void InitProcess();

// The program's claim to be its only running copy in the session.
struct InstanceClaim {
  UniqueHandle mutex;            // held for the program's lifetime
  bool another_running = false;  // the program should end at once
};

// Creates the named mutex. Another copy runs when the mutex exists already
// (also when it was made with rights this process lacks). When the name
// cannot be used for another reason (another kind of object holds it) the
// program runs without the claim rather than never starting.
InstanceClaim ClaimSingleInstance(const wchar_t* name);

// Folder that holds the running program file, without a trailing separator
// except at a drive root ("C:\").
std::wstring ProgramFolder();

// Joins a folder and a relative path with exactly one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& rest);

// UTF-8 <-> UTF-16 at the Win32 edge.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace vardo
