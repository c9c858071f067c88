// kestil: freezes the screen and picks colours from it; stays in the
// notification area between pickings.
#include <windows.h>

#include "colorpick/app_win.h"
#include "common/process_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vardo::InitProcess();
  // A second start ends before it copies the screen.
  vardo::InstanceClaim single = vardo::ClaimSingleInstance(L"Local\\kestil.colour-picker");
  if (single.another_running) return 0;
  vardo::colorpick::KestilApp app;
  if (!app.Start()) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
