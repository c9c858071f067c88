// Vardo: pins pieces of the screen to the desktop.
#include <windows.h>

#include <commctrl.h>

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
  vardo::UniqueHandle instance = vardo::ClaimSingleInstance(kInstanceMutex);
  if (!instance) return 0;

  vardo::SetCaptureCommand(&vardo::CaptureRequest);
  // Pin mode: the layer first, then the settings window in the centre.
  vardo::afterdoch().ShowLayer();
  // The common controls (delay-loaded) are first needed by the settings
  // window; the layer shows without them.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  vardo::SettingsWindow& settings = vardo::sett();
  settings.ShowCentred();
  // What the first windows can show without: the handle's tooltip, file
  // drops. No input has been read yet, so none is missed.
  vardo::afterdoch().LoadExtras();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (settings.hwnd() && IsDialogMessageW(settings.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
