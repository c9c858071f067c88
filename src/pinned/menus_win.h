// The hidden menu window (cd, caption "Form2") that owns every popup menu
// of the program and runs their commands.
#pragma once
#include <windows.h>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "pinned/menu_model.h"

namespace vardo {

// Builds a popup menu from its definition (items in order, submenus).
UniqueMenu BuildPopupMenu(const menus::MenuDef& def);

class MenuWindow final : public Window {
 public:
  bool Load();

  // The four menus, each under its own name.
  HMENU menu_bar() const { return bar_.get(); }
  HMENU cd_menu() const { return cd_; }
  HMENU imgmenu() const { return imgmenu_; }
  HMENU cdd() const { return cdd_; }
  HMENU txtip() const { return txtip_; }

  // Opens `menu` at the pointer, owned by `owner`, and runs the chosen
  // command before returning it (kNone when nothing was chosen).
  menus::Command Popup(HMENU menu, HWND owner);
  void Run(menus::Command command);

 private:
  void Launch(const wchar_t* relative);
  void OpenPage(const wchar_t* address);

  UniqueMenu bar_;  // owns the four menus
  HMENU cd_ = nullptr;
  HMENU imgmenu_ = nullptr;
  HMENU cdd_ = nullptr;
  HMENU txtip_ = nullptr;
};

// The one menu window of the process, created (hidden) on first use.
MenuWindow& cd();

// What the capture command runs (the program's shared capture request).
void SetCaptureCommand(void (*command)());

// Web pages the menus open.
extern const wchar_t kHelpPage[];
extern const wchar_t kProductPage[];
extern const wchar_t kPublisherPage[];

}  // namespace vardo
