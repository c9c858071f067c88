// The ruler's line menu, built in this process so its items can be read:
// captions in order, and each colour item's colour.
#include <gtest/gtest.h>

#include <string>

#include "ruler/menu_win.h"

namespace vardo::ruler {
namespace {

std::wstring Caption(HMENU m, int pos, UINT* id, HMENU* sub = nullptr) {
  wchar_t buf[64] = {};
  MENUITEMINFOW mi{sizeof(mi), MIIM_STRING | MIIM_ID | MIIM_SUBMENU};
  mi.dwTypeData = buf;
  mi.cch = ARRAYSIZE(buf);
  EXPECT_TRUE(GetMenuItemInfoW(m, static_cast<UINT>(pos), TRUE, &mi));
  *id = mi.wID;
  if (sub) *sub = mi.hSubMenu;
  return buf;
}

TEST(RulerMenu, ColoursThenDeleteWithTheirCommands) {
  UniqueMenu menu = BuildLineMenu();
  ASSERT_TRUE(menu && GetMenuItemCount(menu.get()) == 2);
  HMENU colours = nullptr;
  UINT id = 0;
  EXPECT_EQ(Caption(menu.get(), 0, &id, &colours), L"测量线颜色");
  EXPECT_EQ(Caption(menu.get(), 1, &id), L"删除");
  EXPECT_TRUE(id == kCmdDeleteLine && !ColorOfCommand(id));
  const std::pair<const wchar_t*, ColorValue> want[] = {{L"红", kRed},    {L"蓝", kBlue},  {L"绿", kGreen},
                                                        {L"黄", kYellow}, {L"黑", kBlack}, {L"白", kWhite}};
  ASSERT_TRUE(colours && GetMenuItemCount(colours) == 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Caption(colours, i, &id), want[i].first) << i;
    EXPECT_EQ(ColorOfCommand(id).value_or(0xFFFFFFFF), want[i].second) << i;
  }
}

}  // namespace
}  // namespace vardo::ruler
