// The layer's handle: dragging it, its menu, and the menu's commands chosen
// from the keyboard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>

#include "harness_win.h"
#include "vardo_support_win.h"

namespace e2e {
namespace {

using vardo::Start;

void Keys(std::initializer_list<WORD> keys);

TEST(VardoHandle, LeftDragMovesTheHandleAndItStaysWhereReleased) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.layer);
  RECT h = v.handle;
  ASSERT_EQ(h.left, 1851);
  POINT from = vardo::Centre(h);
  Drag(from.x, from.y, from.x - 400, from.y + 300, 20, 15);
  std::optional<RECT> moved;
  EXPECT_TRUE(WaitUntil(
      [&] {
        moved = vardo::WhiteBox(h.left - 500, h.top + 200, 236, 236);
        return moved && moved->left == h.left - 400 && moved->top == h.top + 300;
      },
      3000));
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->left, h.left - 400);
  EXPECT_EQ(moved->top, h.top + 300);
  EXPECT_EQ(moved->right - moved->left, 36);
  // Gone from its old place, and the desktop shows there again.
  EXPECT_FALSE(vardo::HandleNearTopRight().has_value());
  // A plain hover does not move it; the menu opens at its new place.
  POINT c = vardo::Centre(*moved);
  MoveTo(c.x + 5, c.y + 5);
  Settle(200);
  std::optional<RECT> still = vardo::WhiteBox(h.left - 500, h.top + 200, 236, 236);
  ASSERT_TRUE(still);
  EXPECT_TRUE(EqualRect(&*still, &*moved));
  RightClick(c.x, c.y);
  EXPECT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) != nullptr; }, 3000));
  Tap(VK_ESCAPE);
}

// The primary screen's mode switched the way the display settings switch
// it (every window then gets WM_DISPLAYCHANGE); the first mode comes back at
// the end.
class ScopedScreenMode {
 public:
  explicit ScopedScreenMode(SIZE to) : from_(ScreenSize()) { ok_ = Set(to); }
  ~ScopedScreenMode() { Restore(); }
  bool ok() const { return ok_; }
  bool Restore() {
    if (!ok_) return true;
    ok_ = !Set(from_);
    return !ok_;
  }
  // The largest mode the primary display offers below `than` in both
  // directions.
  static std::optional<SIZE> Smaller(SIZE than) {
    std::optional<SIZE> best;
    DEVMODEW dm{};
    dm.dmSize = sizeof(dm);
    for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &dm); ++i) {
      const LONG w = static_cast<LONG>(dm.dmPelsWidth), h = static_cast<LONG>(dm.dmPelsHeight);
      if (w < than.cx && h < than.cy && (!best || w * h > best->cx * best->cy)) best = SIZE{w, h};
    }
    return best;
  }

 private:
  static bool Set(SIZE s) {
    DEVMODEW dm{};
    dm.dmSize = sizeof(dm);
    dm.dmPelsWidth = static_cast<DWORD>(s.cx);
    dm.dmPelsHeight = static_cast<DWORD>(s.cy);
    dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &dm, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL &&
           WaitUntil([&] { return ScreenSize().cx == s.cx && ScreenSize().cy == s.cy; }, 5000);
  }
  SIZE from_;
  bool ok_ = false;
};

// A smaller resolution must not strand the handle (the way to the menu) off
// the screen: the layer covers the new screen, the handle comes to its top-
// right corner and works there, and both go back with the resolution.
TEST(VardoHandle, LayerAndHandleFollowTheScreenResolution) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  const SIZE full = ScreenSize();
  const std::optional<SIZE> small = ScopedScreenMode::Smaller(full);
  ASSERT_TRUE(small) << "the display offers no smaller mode (the test display adds one)";
  auto covers = [&](SIZE s) {
    const RECT r = RectOf(v.layer);
    return r.left == 0 && r.top == 0 && r.right == s.cx && r.bottom == s.cy && IsWindowVisible(v.layer);
  };
  {
    ScopedScreenMode mode(*small);
    ASSERT_TRUE(mode.ok()) << "could not switch to " << small->cx << "x" << small->cy;
    EXPECT_TRUE(WaitUntil([&] { return covers(*small); }, 5000));
    // 36 px tile, 33 px from the top and right edges.
    const int left = small->cx - 36 - 33;
    std::optional<RECT> h;
    EXPECT_TRUE(WaitUntil(
        [&] {
          h = vardo::WhiteBox(left - 40, 0, 40 + 36 + 33, 120);
          return h && h->left == left && h->top == 33 && h->right == left + 36;
        },
        3000))
        << "the handle is not at the new top-right corner";
    ASSERT_TRUE(h);
    // Its menu opens there, and a capture covers the new screen.
    const POINT c = vardo::Centre(*h);
    RightClick(c.x, c.y);
    ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) != nullptr; }, 3000));
    Settle(100);
    Keys({VK_DOWN, VK_RETURN});  // 截图
    HWND overlay = WaitForWindow(
        v.process.pid(), [](HWND w) { return IsWindowVisible(w) && ClassOf(w) == L"VardoScrShot"; }, 5000);
    ASSERT_TRUE(overlay);
    const RECT o = RectOf(overlay);
    EXPECT_TRUE(o.left == 0 && o.top == 0 && o.right == small->cx && o.bottom == small->cy)
        << o.right << "x" << o.bottom;
    Drag(100, 150, 400, 350, 12, 15);
    HWND exi = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      HWND bar = FindWindowExW(overlay, nullptr, L"VardoCaptureTools", nullptr);
      exi = bar && IsWindowVisible(bar) ? FindWindowExW(bar, nullptr, L"VardoCaptureExi", nullptr) : nullptr;
      return exi != nullptr;
    }, 3000));
    const POINT e = vardo::Centre(RectOf(exi));
    Click(e.x, e.y);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(overlay) && IsWindowVisible(v.layer); }, 5000));
    ASSERT_TRUE(mode.Restore());
  }
  EXPECT_TRUE(WaitUntil([&] { return covers(full); }, 5000));
  std::optional<RECT> back;
  EXPECT_TRUE(WaitUntil([&] { return (back = vardo::HandleNearTopRight()) && EqualRect(&*back, &v.handle); }, 3000))
      << "the handle did not go back to its corner";
  EXPECT_TRUE(v.process.Running());
}

TEST(VardoHandle, RightPressOpensTheHandleMenu) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  POINT c = vardo::Centre(v.handle);
  // Resting on it first shows its tip beside the pointer (made at the first
  // move onto the handle).
  MoveTo(c.x - 3, c.y - 3);
  Settle(100);
  MoveTo(c.x, c.y);
  const HWND tip = WaitForWindow(
      v.process.pid(), [](HWND w) { return ClassOf(w) == L"tooltips_class32" && IsWindowVisible(w); }, 5000);
  ASSERT_TRUE(tip) << "no tip on the handle";
  const RECT t = RectOf(tip);
  EXPECT_LT(std::abs(t.left - c.x), 60);
  EXPECT_LT(std::abs(t.top - c.y), 60);
  RightClick(c.x, c.y);
  HWND menu = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (menu = vardo::VisiblePopupMenu(v.process.pid())) != nullptr; }, 3000));
  Tap(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) == nullptr; }, 3000));
  EXPECT_TRUE(v.process.Running());
}

void OpenHandleMenu(const vardo::Running& v) {
  POINT c = vardo::Centre(v.handle);
  RightClick(c.x, c.y);
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) != nullptr; }, 3000));
  Settle(100);
}

void Keys(std::initializer_list<WORD> keys) {
  for (WORD k : keys) {
    Tap(k);
    Sleep(60);
  }
}

TEST(VardoHandle, ExitFromTheMenuEndsTheProgramAtOnce) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  OpenHandleMenu(v);
  Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});  // 截图, 插件, 退出
  EXPECT_TRUE(v.process.WaitExit(3000));
}

TEST(VardoHandle, PluginItemsStartTheCompanionToolsBesideTheProgram) {
  TempDir dir(L"vardo-tools");
  std::wstring exe = vardo::LayOut(dir, true);
  vardo::Running v = Start(exe);
  ASSERT_TRUE(v.layer && v.handle.right > 0);

  OpenHandleMenu(v);
  Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});  // 插件 > 屏幕取色
  EXPECT_TRUE(WaitUntil([&] { return FileExists(dir / L"apps\\kestil.exe.started"); }, 5000));
  EXPECT_FALSE(FileExists(dir / L"apps\\mirrun.exe.started"));
  // The tool runs on its own; let its window go before using the menu again.
  WaitUntil([] { return !FindWindowW(nullptr, L"probe"); }, 5000);
  Settle(300);

  OpenHandleMenu(v);
  Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});  // 插件 > 屏幕测量
  EXPECT_TRUE(WaitUntil([&] { return FileExists(dir / L"apps\\mirrun.exe.started"); }, 5000));
  // Started with no arguments.
  std::vector<uint8_t> cmd = ReadFileBytes(dir / L"apps\\mirrun.exe.started");
  std::wstring line(reinterpret_cast<const wchar_t*>(cmd.data()), cmd.size() / sizeof(wchar_t));
  EXPECT_NE(line.find(L"mirrun.exe"), std::wstring::npos);
  size_t end = line.rfind(L"mirrun.exe");
  std::wstring rest = line.substr(end + 10);
  EXPECT_TRUE(rest.empty() || rest == L"\"" || rest == L"\" " || rest == L" ") << Utf8(line);
  EXPECT_TRUE(v.process.Running());
}

TEST(VardoHandle, PluginItemsDoNothingVisibleWhenTheToolsAreMissing) {
  TempDir dir(L"vardo-notools");
  std::wstring exe = vardo::LayOut(dir, false);
  vardo::Running v = Start(exe);
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  std::set<HWND> before;
  for (HWND w : TopWindows(0, true)) before.insert(w);

  OpenHandleMenu(v);
  Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) == nullptr; }, 3000));
  OpenHandleMenu(v);
  Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) == nullptr; }, 3000));
  Settle(1000);
  for (HWND w : TopWindows(0, true))
    EXPECT_TRUE(before.count(w)) << "new window: " << Utf8(ClassOf(w)) << " " << Utf8(TextOf(w));
  EXPECT_TRUE(v.process.Running());
  EXPECT_TRUE(IsWindowVisible(v.layer));
}

}  // namespace
}  // namespace e2e
