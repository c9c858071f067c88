// The settings window in-process: it carries the program icon in both
// sizes (another process cannot read icons under Wine, so this is checked
// from inside), and every control gets the message font.
#include <gtest/gtest.h>

#include "common/dpi_win.h"
#include "shell/settings_win.h"

namespace vardo {
namespace {

TEST(SettingsWindowInProcess, CarriesTheProgramIconBigAndSmall) {
  ASSERT_TRUE(sett().CreateWindowOnce());
  HWND w = sett().hwnd();
  // The class carries both sizes; the taskbar and the task switcher take
  // them from there.
  auto big = reinterpret_cast<HICON>(GetClassLongPtrW(w, GCLP_HICON));
  auto small = reinterpret_cast<HICON>(GetClassLongPtrW(w, GCLP_HICONSM));
  ASSERT_TRUE(big);
  ASSERT_TRUE(small);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(big, &info));
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXICON));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  ASSERT_TRUE(GetIconInfo(small, &info));
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSMICON));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  EXPECT_FALSE(IsWindowVisible(w));  // created hidden; shown by the start-up
}

TEST(SettingsWindowInProcess, EveryCaptionedControlUsesTheWindowsFont) {
  ASSERT_TRUE(sett().CreateWindowOnce());
  HFONT font = nullptr;
  for (HWND c : {sett().chkCheck1(), sett().Command1(), sett().Command2(), sett().Command3(), sett().Label1()}) {
    ASSERT_TRUE(c);
    auto f = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
    ASSERT_TRUE(f);
    if (!font) font = f;
    EXPECT_EQ(f, font);
  }
  // The message font measures Chinese text wider than it measures a box
  // would need for a single glyph pair.
  HDC dc = GetDC(sett().hwnd());
  HGDIOBJ old = SelectObject(dc, font);
  SIZE cjk{}, latin{};
  GetTextExtentPoint32W(dc, L"保存", 2, &cjk);
  GetTextExtentPoint32W(dc, L"ab", 2, &latin);
  SelectObject(dc, old);
  ReleaseDC(sett().hwnd(), dc);
  EXPECT_GT(cjk.cx, latin.cx);
  // The hotkey box keeps its own Arial 9 pt at the window's DPI.
  LOGFONTW box{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(sett().HotKey1(), WM_GETFONT, 0, 0)), sizeof box, &box));
  EXPECT_STREQ(box.lfFaceName, L"Arial");
  EXPECT_EQ(box.lfHeight, -MulDiv(9, static_cast<int>(DpiOf(sett().hwnd())), 72));
}

}  // namespace
}  // namespace vardo
