// The ruler's line menu, built in this process so its items can be read:
// captions in order, and each colour item's colour.
#include <gtest/gtest.h>

#include <string>

#include "ruler/menu_win.h"

namespace vardo::ruler {
namespace {

std::wstring Caption(HMENU m, int pos, UINT* id = nullptr, HMENU* sub = nullptr) {
  wchar_t buf[64] = {};
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
  mi.dwTypeData = buf;
  mi.cch = ARRAYSIZE(buf);
  EXPECT_TRUE(GetMenuItemInfoW(m, static_cast<UINT>(pos), TRUE, &mi));
  if (id) *id = mi.wID;
  if (sub) *sub = mi.hSubMenu;
  return buf;
}

TEST(RulerMenu, ColoursThenDeleteWithTheirCommands) {
  UniqueMenu menu = BuildLineMenu();
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu.get()), 2);
  HMENU colours = nullptr;
  UINT id = 0;
  EXPECT_EQ(Caption(menu.get(), 0, nullptr, &colours), L"测量线颜色");
  EXPECT_EQ(Caption(menu.get(), 1, &id), L"删除");
  EXPECT_EQ(id, kCmdDeleteLine);
  EXPECT_FALSE(ColorOfCommand(kCmdDeleteLine).has_value());
  ASSERT_TRUE(colours);
  const struct {
    const wchar_t* caption;
    ColorValue color;
  } want[] = {{L"红", kRed}, {L"蓝", kBlue}, {L"绿", kGreen}, {L"黄", kYellow}, {L"黑", kBlack}, {L"白", kWhite}};
  ASSERT_EQ(GetMenuItemCount(colours), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Caption(colours, i, &id), want[i].caption) << i;
    EXPECT_EQ(ColorOfCommand(id).value_or(0xFFFFFFFF), want[i].color) << i;
  }
}

}  // namespace
}  // namespace vardo::ruler
