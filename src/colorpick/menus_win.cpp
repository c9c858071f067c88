#include "colorpick/menus_win.h"

namespace vardo::colorpick {

UniqueMenu BuildCalloutMenu() {
  UniqueMenu menu(CreatePopupMenu());
  HMENU colours = CreatePopupMenu();
  AppendMenuW(colours, MF_STRING, kCmdRed, L"红");
  AppendMenuW(colours, MF_STRING, kCmdYellow, L"黄");
  AppendMenuW(colours, MF_STRING, kCmdGreen, L"绿");
  AppendMenuW(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(colours), L"取色线颜色");
  AppendMenuW(menu.get(), MF_STRING, kCmdDelete, L"删除");
  AppendMenuW(menu.get(), MF_STRING, kCmdCopyCode, L"复制颜色编码到剪贴板");
  AppendMenuW(menu.get(), MF_STRING, kCmdShowHex, L"HEX 色码");
  AppendMenuW(menu.get(), MF_STRING, kCmdShowRgb, L"RGB 色码");
  return menu;
}

UniqueMenu BuildTrayMenu() {
  UniqueMenu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, kCmdStart, L"开始");
  AppendMenuW(menu.get(), MF_STRING, kCmdQuit, L"退出");
  return menu;
}

}  // namespace vardo::colorpick
