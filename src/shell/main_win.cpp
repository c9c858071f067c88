// Vardo: pins pieces of the screen to the desktop.
#include <windows.h>

#include "common/process_win.h"
#include "pinned/menus_win.h"
#include "pinned/pin_layer_win.h"
#include "shell/capture_request_win.h"
#include "shell/settings_win.h"

namespace {

// One running copy per session; a later start leaves before showing anything.
constexpr wchar_t kInstanceMutex[] = L"Local\\Vardo.SingleInstance";

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vardo::InitProcess();
  vardo::InstanceClaim instance = vardo::ClaimSingleInstance(kInstanceMutex);
  if (instance.another_running) return 0;

  vardo::SetCaptureCommand(&vardo::CaptureRequest);
  // Pin mode: the layer first, then the settings window in the centre.
  // The common controls and the shell (both delay-loaded) are not needed
  // to start: the first tooltip and the first dropped file load them.
  vardo::afterdoch().ShowLayer();
  vardo::SettingsWindow& settings = vardo::sett();
  settings.ShowCentred();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (settings.hwnd() && IsDialogMessageW(settings.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
