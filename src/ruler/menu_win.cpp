#include "ruler/menu_win.h"

namespace vardo::ruler {

namespace {
struct ColorItem {
  UINT command;
  const wchar_t* caption;
  ColorValue color;
};
constexpr ColorItem kColorItems[] = {
    {kCmdRed, L"红", kRed},          {kCmdBlue, L"蓝", kBlue},   {kCmdGreen, L"绿", kGreen},
    {kCmdYellow, L"黄", kYellow}, {kCmdBlack, L"黑", kBlack}, {kCmdWhite, L"白", kWhite},
};
}  // namespace

UniqueMenu BuildLineMenu() {
  UniqueMenu menu(CreatePopupMenu());
  UniqueMenu colours(CreatePopupMenu());
  if (!menu || !colours) return nullptr;
  for (const ColorItem& c : kColorItems) AppendMenuW(colours.get(), MF_STRING, c.command, c.caption);
  if (AppendMenuW(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(colours.get()), L"测量线颜色"))
    colours.release();  // the menu owns it now
  AppendMenuW(menu.get(), MF_STRING, kCmdDeleteLine, L"删除");
  return menu;
}

std::optional<ColorValue> ColorOfCommand(UINT command) {
  for (const ColorItem& c : kColorItems)
    if (c.command == command) return c.color;
  return std::nullopt;
}

}  // namespace vardo::ruler
