// Stand-in for a companion program in end-to-end tests: records that it was
// started (a file "<its own path>.started" holding its command line), shows
// a window titled "probe" for a moment, then exits.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring marker = std::wstring(self, n) + L".started";
  HANDLE f = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    const wchar_t* cmd = GetCommandLineW();
    DWORD put = 0;
    WriteFile(f, cmd, static_cast<DWORD>(lstrlenW(cmd) * sizeof(wchar_t)), &put, nullptr);
    CloseHandle(f);
  }
  HWND w = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  DWORD end = GetTickCount() + 2000;
  MSG m;
  while (GetTickCount() < end) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
  if (w) DestroyWindow(w);
  return 0;
}
