// The program's hidden companion window: it owns the notification-area
// icon and the popup menus, and opens, brings forward and ends the picker.
#pragma once
#include <windows.h>

#include <memory>

#include "colorpick/picker_win.h"
#include "common/handles_win.h"
#include "common/tray_win.h"
#include "common/window_win.h"

namespace vardo::colorpick {

class KestilApp : public Window, private PickerHost {
 public:
  KestilApp() = default;
  ~KestilApp() override;
  // Creates the hidden window, adds the icon and opens the picker.
  bool Start();
  // "开始": a new picker with a new frozen picture, or the open one brought
  // forward.
  void StartPicking();
  // "退出" and the exit image: the icon goes, then the program ends.
  void ExitProgram() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HMENU CalloutMenu() override { return callout_menu_.get(); }
  void ScreenFrozen() override;
  void OnTrayCallback(LPARAM lp);

  std::unique_ptr<PickerWindow> picker_;
  TrayIcon tray_;
  UniqueIcon icon_;
  UniqueMenu callout_menu_;
  UniqueMenu tray_menu_;
  UINT taskbar_created_ = 0;
};

}  // namespace vardo::colorpick
