// The picker's popup menus, built in this process so their items can be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colorpick/menus_win.h"

namespace vardo::colorpick {
namespace {

struct Item {
  std::wstring caption;
  UINT id;
  HMENU sub;
};

std::vector<Item> Items(HMENU m) {
  std::vector<Item> out;
  const int n = GetMenuItemCount(m);
  for (int i = 0; i < n; ++i) {
    wchar_t buf[128] = {};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
    mi.dwTypeData = buf;
    mi.cch = ARRAYSIZE(buf);
    EXPECT_TRUE(GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mi));
    EXPECT_FALSE(mi.fState & MFS_DISABLED) << i;
    out.push_back(Item{buf, mi.wID, mi.hSubMenu});
  }
  return out;
}

TEST(KestilMenus, CalloutMenuCaptionsInOrder) {
  UniqueMenu menu = BuildCalloutMenu();
  ASSERT_TRUE(menu);
  auto items = Items(menu.get());
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].caption, L"取色线颜色");
  ASSERT_NE(items[0].sub, nullptr);
  auto colours = Items(items[0].sub);
  ASSERT_EQ(colours.size(), 3u);
  EXPECT_EQ(colours[0].caption, L"红");
  EXPECT_EQ(colours[1].caption, L"黄");
  EXPECT_EQ(colours[2].caption, L"绿");
  EXPECT_EQ(colours[0].id, static_cast<UINT>(kCmdRed));
  EXPECT_EQ(colours[1].id, static_cast<UINT>(kCmdYellow));
  EXPECT_EQ(colours[2].id, static_cast<UINT>(kCmdGreen));
  EXPECT_EQ(items[1].caption, L"删除");
  EXPECT_EQ(items[1].id, static_cast<UINT>(kCmdDelete));
  EXPECT_EQ(items[2].caption, L"复制颜色编码到剪贴板");
  EXPECT_EQ(items[2].id, static_cast<UINT>(kCmdCopyCode));
  EXPECT_EQ(items[3].caption, L"HEX 色码");
  EXPECT_EQ(items[3].id, static_cast<UINT>(kCmdShowHex));
  EXPECT_EQ(items[4].caption, L"RGB 色码");
  EXPECT_EQ(items[4].id, static_cast<UINT>(kCmdShowRgb));
  // The label-background submenu is not reachable from the menu.
  for (const Item& i : items) EXPECT_NE(i.caption, L"背景色");
}

TEST(KestilMenus, NotificationAreaMenu) {
  UniqueMenu menu = BuildTrayMenu();
  ASSERT_TRUE(menu);
  auto items = Items(menu.get());
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].caption, L"开始");
  EXPECT_EQ(items[0].id, static_cast<UINT>(kCmdStart));
  EXPECT_EQ(items[1].caption, L"退出");
  EXPECT_EQ(items[1].id, static_cast<UINT>(kCmdQuit));
}

}  // namespace
}  // namespace vardo::colorpick
