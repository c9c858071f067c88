// The popup menus as the program builds them: captions in display order,
// submenus where they belong, and every item enabled.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/process_win.h"
#include "pinned/menus_win.h"

namespace vardo {
namespace {

struct Entry {
  std::wstring caption;
  std::vector<Entry> children;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> Read(HMENU menu) {
  std::vector<Entry> out;
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t buf[128] = {};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_STATE | MIIM_FTYPE;
    mi.dwTypeData = buf;
    mi.cch = 128;
    EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi));
    EXPECT_FALSE(mi.fState & (MFS_DISABLED | MFS_GRAYED)) << buf;
    EXPECT_FALSE(mi.fType & MFT_SEPARATOR);
    Entry e{buf, {}};
    if (mi.hSubMenu) e.children = Read(mi.hSubMenu);
    out.push_back(e);
  }
  return out;
}

std::ostream& operator<<(std::ostream& os, const std::vector<Entry>& v) {
  for (const Entry& e : v) {
    os << Narrow(e.caption);
    if (!e.children.empty()) os << "(" << e.children << ")";
    os << ";";
  }
  return os;
}

TEST(Menus, HandleMenuOffersCapturePluginsExitAndAbout) {
  EXPECT_EQ(Read(cd().cdd()), (std::vector<Entry>{{L"截图", {}},
                                                  {L"插件", {{L"屏幕取色", {}}, {L"屏幕测量", {}}}},
                                                  {L"退出", {}},
                                                  {L"关于本软件", {}}}));
}

TEST(Menus, ImageMenuOffersDeleteRestackSaveAndOpacity) {
  EXPECT_EQ(Read(cd().imgmenu()),
            (std::vector<Entry>{{L"删除", {}},
                                {L"置于下层", {}},
                                {L"保存为", {}},
                                {L"透明度", {{L"50%", {}}, {L"70%", {}}, {L"恢复正常", {}}}}}));
}

TEST(Menus, TextLabelMenuHasOnlyDelete) {
  EXPECT_EQ(Read(cd().txtip()), (std::vector<Entry>{{L"删除", {}}}));
}

TEST(Menus, TrayStyleMenuKeepsItsEnglishItems) {
  EXPECT_EQ(Read(cd().cd_menu()), (std::vector<Entry>{{L"Display Tessel", {}},
                                                      {L"Marbeck:image:", {}},
                                                      {L"About", {{L"About App", {}}}},
                                                      {L"Exit", {}}}));
}

TEST(Menus, AllLiveOnTheHiddenForm2Window) {
  HWND w = cd().hwnd();
  ASSERT_TRUE(w);
  wchar_t title[32] = {};
  GetWindowTextW(w, title, 32);
  EXPECT_STREQ(title, L"Form2");
  EXPECT_FALSE(IsWindowVisible(w));
  // The four menus hang under their own names.
  std::vector<Entry> bar = Read(cd().menu_bar());
  ASSERT_EQ(bar.size(), 4u);
  EXPECT_EQ(bar[0].caption, L"cd");
  EXPECT_EQ(bar[1].caption, L"imgmenu");
  EXPECT_EQ(bar[2].caption, L"cdd");
  EXPECT_EQ(bar[3].caption, L"txtip");
}

TEST(Menus, EveryCommandIdIsUnique) {
  std::vector<UINT> ids;
  for (HMENU m : {cd().cd_menu(), cd().imgmenu(), cd().cdd(), cd().txtip()}) {
    std::vector<HMENU> todo{m};
    while (!todo.empty()) {
      HMENU cur = todo.back();
      todo.pop_back();
      for (int i = 0; i < GetMenuItemCount(cur); ++i) {
        if (HMENU sub = GetSubMenu(cur, i)) todo.push_back(sub);
        else ids.push_back(GetMenuItemID(cur, i));
      }
    }
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  EXPECT_EQ(ids.size(), 16u);
}

}  // namespace
}  // namespace vardo
