// Holds a system-wide hotkey, as another program would, so that tests can
// see how Vardo reacts to a combination that is already taken.
// Arguments: <modifier flags> <virtual-key code>, both decimal. The window
// title reports the outcome: "hotkey holder: held" or
// "hotkey holder: refused <error>". The program runs until it is ended
// (at most two minutes).
#include <windows.h>

#include <cwchar>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmd, int) {
  wchar_t* end = nullptr;
  unsigned long mods = std::wcstoul(cmd, &end, 10);
  unsigned long vk = end ? std::wcstoul(end, nullptr, 10) : 0;
  HWND w = CreateWindowExW(0, L"STATIC", L"hotkey holder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w) return 1;
  std::wstring title;
  if (RegisterHotKey(w, 1, static_cast<UINT>(mods), static_cast<UINT>(vk))) {
    title = L"hotkey holder: held";
  } else {
    title = L"hotkey holder: refused " + std::to_wstring(GetLastError());
  }
  SetWindowTextW(w, title.c_str());
  DWORD stop = GetTickCount() + 120000;
  MSG m;
  while (GetTickCount() < stop) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
  UnregisterHotKey(w, 1);
  DestroyWindow(w);
  return 0;
}
