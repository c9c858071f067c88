// The picker's two popup menus: the callout menu (right click on a label)
// and the notification-area menu.
#pragma once
#include <windows.h>

#include "common/handles_win.h"
#include "common/popup_menu_win.h"

namespace vardo::colorpick {

enum MenuCommand : UINT {
  kCmdRed = 101,       // "红"
  kCmdYellow,          // "黄"
  kCmdGreen,           // "绿"
  kCmdDelete,          // "删除"
  kCmdCopyCode,        // "复制颜色编码到剪贴板"
  kCmdShowHex,         // "HEX 色码"
  kCmdShowRgb,         // "RGB 色码"
  kCmdStart = 201,     // "开始"
  kCmdQuit,            // "退出"
};

// The label backgrounds ("背景色": blue, white, transparent) have commands
// but no menu item: the menu does not offer them.
UniqueMenu BuildCalloutMenu();
UniqueMenu BuildTrayMenu();

}  // namespace vardo::colorpick
