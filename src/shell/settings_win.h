// The hotkey settings window (sett): the program's start-up window, a
// borderless 391 x 145 panel centred on the screen.
#pragma once
#include <windows.h>

#include "common/drag_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"
#include "hotkey/hotkey_control_win.h"
#include "hotkey/release_hook_win.h"
#include "shell/settings_layout.h"

namespace vardo {

class SettingsWindow final : public Window {
 public:
  // Child control ids, in tab order.
  enum ControlId : int {
    kChkCheck1 = 1001,
    kCommand1 = 1002,
    kCommand2 = 1003,
    kCommand3 = 1004,
    kLabel1 = 1005,
    kHotKey1 = 1006,
  };

  // Creates the window (hidden) at the primary screen's DPI.
  bool CreateWindowOnce();
  // Shows the window centred on the primary screen.
  void ShowCentred();

  HWND chkCheck1() const { return chk_check1_; }
  HWND Command1() const { return command1_; }
  HWND Command2() const { return command2_; }
  HWND Command3() const { return command3_; }
  HWND Label1() const { return label1_; }
  // The hotkey entry's place on Label1's row, between Label1 and Command3.
  HWND HotKey1() const { return hotkey1_; }

  // "隐藏": hides the window; the program runs on.
  void Command2_Click();
  // The hotkey entry control in HotKey1's slot.
  hotkey::HotKey& HotKey1Control() { return hotkey1_control_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateControls();
  // The hotkey entry slot: for now a plain edit showing "NULL" that the
  // hotkey entry control takes over.
  HWND CreateHotKey1Slot(const shell::Box& at);
  HWND CreateControl(const shell::ControlSpec& entry);
  void ApplyLayout(int dpi);
  void Paint();
  // Hotkey: "启用" registers on mouse release only, "保存" stores the value
  // and the tick, the default button stores Print Screen for the next start,
  // and a press of the registered hotkey starts a capture.
  void chkCheck1_MouseUp();
  void Command1_Click();
  void Command3_Click();
  // The "错误" box for settings that could not be written.
  void ShowSaveFailed();
  void HotKey1_HotKeyPressed();
  void HotKey1_KeyUp();

  int dpi_ = 96;
  PointerDrag drag_;
  UniqueFont font_;
  UniquePen outline_pen_;
  HWND chk_check1_ = nullptr;
  HWND command1_ = nullptr;
  HWND command2_ = nullptr;
  HWND command3_ = nullptr;
  HWND label1_ = nullptr;
  HWND hotkey1_ = nullptr;
  hotkey::HotKey hotkey1_control_{L"HotKey1"};
  hotkey::ReleaseHook chk_check1_release_;
};

// The one settings window of the process.
SettingsWindow& sett();

}  // namespace vardo
