// kestil's notification-area icon, driven through Wine's own notification
// area window ("Wine System Tray", icon at (12, 32)): the menu opens on
// button releases, "开始" reopens or brings forward the picker, "退出" and
// the exit image end the program without leaving an icon.
#include "kestil_support_win.h"

namespace e2e::kestil {
namespace {

bool TrayShowsAnIcon() {
  HWND tray = WineTray();
  if (!tray || !IsWindowVisible(tray)) return false;
  // An icon has colours; an empty tray client area is flat.
  Image area = CaptureRect(4, 24, 16, 16);
  for (uint32_t px : area.px)
    if (px != area.px[0]) return true;
  return false;
}

class KestilTray : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearClipboard();
    MoveTo(900, 200);
  }
  // Starts kestil and closes its picker with Enter, leaving the icon.
  void StartToTray(Picker& p) {
    ASSERT_TRUE(p.window);
    ASSERT_TRUE(WaitForReadout(p.window, L"HEX", L"HEX: #FFFFFF"));
    Tap(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(p.window); }, 3000));
    ASSERT_TRUE(WaitUntil(TrayShowsAnIcon, 3000));
  }
  void ClickIcon(bool right) {
    POINT i = TrayIconPoint();
    if (right) RightClick(i.x, i.y);
    else Click(i.x, i.y);
  }
};

TEST_F(KestilTray, MenuOpensOnButtonReleaseOnly) {
  Picker p;
  StartToTray(p);
  POINT i = TrayIconPoint();
  // Moving over the icon does nothing.
  MoveTo(i.x, i.y);
  MoveTo(i.x + 1, i.y);
  Sleep(300);
  EXPECT_FALSE(MenuOpen());
  for (bool right : {false, true}) {
    MoveTo(i.x, i.y);
    Sleep(50);
    if (right) RightDown();
    else LeftDown();
    Sleep(300);
    EXPECT_FALSE(MenuOpen()) << right;
    if (right) RightUp();
    else LeftUp();
    EXPECT_TRUE(WaitUntil(MenuOpen, 3000)) << right;
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); }, 3000));
    Sleep(100);
  }
  EXPECT_TRUE(p.process.Running());
}

TEST_F(KestilTray, StartReopensThePickerWithANewFrozenPicture) {
  Picker p;
  ASSERT_TRUE(p.window);
  // The first picture was taken before the notification area showed up.
  MoveTo(60, 10);
  ASSERT_TRUE(WaitUntil([&] { return Readout(p.window, L"HEX") != L"HEX"; }));
  Sleep(150);
  const std::wstring first = Readout(p.window, L"HEX");
  SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
  ASSERT_EQ(ScreenPixel(1611, 177), Rgb(192, 255, 192));
  MoveTo(900, 200);
  ASSERT_TRUE(WaitForReadout(p.window, L"HEX", L"HEX: #FFFFFF"));
  Tap(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(p.window); }, 3000));
  ASSERT_TRUE(WaitUntil(TrayShowsAnIcon, 3000));

  ClickIcon(false);
  ASSERT_TRUE(WaitUntil(MenuOpen, 3000));
  ChooseMenuItem(0);  // "开始"
  HWND again = FindPicker(p.process.pid());
  ASSERT_TRUE(again);
  EXPECT_NE(again, p.window);
  // A new picture: no callout, and the notification area window that is
  // now on the screen is in it. Once the panel's frame is painted, the
  // picture beneath it (painted first) is on the screen.
  ASSERT_TRUE(WaitUntil([&] {
    HWND panel = Panel(again);
    if (!panel || !IsWindowVisible(panel)) return false;
    const RECT r = RectOf(panel);
    return ScreenPixel(r.left, r.top + 60) == Rgb(14, 151, 231);
  }, 3000)) << "the new picker's panel was not painted";
  EXPECT_NE(ScreenPixel(1611, 177), Rgb(192, 255, 192));
  MoveTo(60, 10);
  EXPECT_TRUE(WaitUntil([&] { return Readout(again, L"HEX") != first && Readout(again, L"HEX") != L"HEX"; }, 3000))
      << Utf8(first) << " " << Utf8(Readout(again, L"HEX"));
}

TEST_F(KestilTray, StartWhileThePickerIsOpenOnlyBringsItForward) {
  Picker p;
  ASSERT_TRUE(p.window);
  SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
  ASSERT_EQ(ScreenPixel(1611, 177), Rgb(192, 255, 192));
  // A save is under way: its dialog is up.
  HWND label = FindChildByText(p.window, L"保存图片");
  ASSERT_TRUE(label);
  const RECT lr = RectOf(label);
  Click(lr.left + 10, (lr.top + lr.bottom) / 2);
  HWND dialog = WaitForTitle(p.process.pid(), L"Save", 5000);
  ASSERT_TRUE(dialog);
  // Lift Wine's notification area above the picker to reach the icon.
  // (The icon is added just after the picker appears; wait for it.)
  HWND tray = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    tray = WineTray();
    if (!tray || !IsWindowVisible(tray)) return false;
    SetWindowPos(tray, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(100);
    return TrayShowsAnIcon();
  }, 5000));
  // Wine's lifted tray window sometimes takes the first click to activate.
  bool open = false;
  for (int i = 0; i < 3 && !open; ++i) {
    ClickIcon(true);
    open = WaitUntil(MenuOpen, 1500);
  }
  ASSERT_TRUE(open);
  ChooseMenuItem(0);  // "开始"
  Sleep(500);
  SetWindowPos(tray, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(tray, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Sleep(200);
  // The save's dialog is still in front, where the user can finish it.
  const RECT dr = RectOf(dialog);
  const POINT dc{(dr.left + dr.right) / 2, (dr.top + dr.bottom) / 2};
  EXPECT_TRUE(WaitUntil([&] {
    HWND at = WindowFromPoint(dc);
    return at == dialog || IsChild(dialog, at);
  }, 2000)) << "the picker came up over its save dialog";
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Panel(p.window)) != FALSE; }, 5000));
  // The same window with the same picture and callout.
  EXPECT_TRUE(IsWindow(p.window));
  EXPECT_TRUE(IsWindowVisible(p.window));
  EXPECT_EQ(FindPicker(p.process.pid()), p.window);
  EXPECT_EQ(ScreenPixel(1611, 177), Rgb(192, 255, 192));
  EXPECT_EQ(ScreenPixel(1420, 170), Rgb(255, 0, 0));
}

TEST_F(KestilTray, QuitEndsTheProgramAndRemovesTheIcon) {
  Picker p;
  StartToTray(p);
  ClickIcon(false);
  ASSERT_TRUE(WaitUntil(MenuOpen, 3000));
  ChooseMenuItem(1);  // "退出"
  DWORD code = 99;
  ASSERT_TRUE(p.process.WaitExit(5000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(WaitUntil([] { return !TrayShowsAnIcon(); }, 3000));
}

TEST_F(KestilTray, ExitImageEndsTheProgramAndRemovesTheIcon) {
  Picker p;
  ASSERT_TRUE(p.window);
  RECT r = RectOf(Panel(p.window));
  Click(r.right - 8, r.top + 8);
  ASSERT_TRUE(p.process.WaitExit(5000));
  EXPECT_TRUE(WaitUntil([] { return !TrayShowsAnIcon(); }, 3000));
}

TEST_F(KestilTray, CloseLabelLeavesTheProgramInTheNotificationArea) {
  Picker p;
  ASSERT_TRUE(p.window);
  HWND close = FindChildByText(p.window, L"关闭");
  ASSERT_TRUE(close);
  const RECT r = RectOf(close);
  Sleep(300);
  // A press that slides off the label before its release is no click: the
  // picker stays.
  MoveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Sleep(60);
  LeftDown();
  Sleep(200);
  EXPECT_TRUE(IsWindow(p.window) && IsWindowVisible(p.window)) << "closed on the press";
  MoveTo((r.left + r.right) / 2, r.bottom + 80);
  Sleep(100);
  LeftUp();
  Sleep(300);
  ASSERT_TRUE(IsWindow(p.window) && IsWindowVisible(p.window)) << "closed by a press released off the label";
  Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(p.window); }, 3000));
  Sleep(300);
  EXPECT_TRUE(p.process.Running());
  EXPECT_TRUE(WaitUntil(TrayShowsAnIcon, 3000));
}

}  // namespace
}  // namespace e2e::kestil
