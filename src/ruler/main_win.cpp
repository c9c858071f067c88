// mirrun: freezes the screen and measures on it with snapped, labelled
// lines; ends from its panel or once the picture is saved.
#include <windows.h>

#include "common/process_win.h"
#include "ruler/ruler_win.h"

namespace {
class Program : public vardo::ruler::RulerHost {
 public:
  void RulerEnded() override { PostQuitMessage(0); }
};
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vardo::InitProcess();
  // A second start ends before it copies the screen.
  vardo::InstanceClaim single = vardo::ClaimSingleInstance(L"Local\\mirrun.pixel-ruler");
  if (single.another_running) return 0;
  Program program;
  vardo::ruler::RulerWindow ruler(program);
  if (!ruler.Open()) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
