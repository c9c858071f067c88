#include "common/process_win.h"

#include <vector>

namespace vardo {

void InitProcess() {
  // Only system32 and the application's explicitly added folders.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  HMODULE user = GetModuleHandleW(L"user32.dll");
  using SetCtxFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  auto set_ctx = user ? reinterpret_cast<SetCtxFn>(
                            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")))
                      : nullptr;
  // The manifest normally did this already; a second call fails harmlessly.
  if (!set_ctx || !set_ctx(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
    if (GetLastError() != ERROR_ACCESS_DENIED) SetProcessDPIAware();
  }
}

InstanceClaim ClaimSingleInstance(const wchar_t* name) {
  InstanceClaim claim;
  HANDLE m = CreateMutexW(nullptr, TRUE, name);
  const DWORD error = GetLastError();
  if (m) {
    claim.mutex.reset(m);
    if (error == ERROR_ALREADY_EXISTS) {
      claim.mutex.reset();
      claim.another_running = true;
    }
    return claim;
  }
  // A copy running elevated or as another user made the mutex with rights
  // this process lacks; any other failure says nothing about another copy.
  claim.another_running = error == ERROR_ACCESS_DENIED;
  return claim;
}

std::wstring ProgramFolder() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return L".";
    if (n < buf.size()) {
      std::wstring path(buf.data(), n);
      size_t slash = path.find_last_of(L"\\/");
      if (slash == std::wstring::npos) return L".";
      std::wstring folder = path.substr(0, slash);
      if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
      return folder;
    }
    buf.resize(buf.size() * 2);
  }
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& rest) {
  if (folder.empty()) return rest;
  std::wstring r = folder;
  bool ends = r.back() == L'\\' || r.back() == L'/';
  bool starts = !rest.empty() && (rest.front() == L'\\' || rest.front() == L'/');
  if (ends && starts) r.pop_back();
  else if (!ends && !starts) r += L'\\';
  return r + rest;
}

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace vardo
