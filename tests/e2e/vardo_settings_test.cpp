// The settings window: its controls and captions, hiding, minimising,
// dragging, and a close request that ends the whole program.
#include <gtest/gtest.h>

#include <vector>

#include "harness_win.h"
#include "vardo_support_win.h"

namespace e2e {
namespace {

using vardo::Start;

struct Expected {
  const wchar_t* caption;
  const wchar_t* cls;
  RECT at;  // client coordinates at 96 DPI
};

TEST(VardoSettings, EveryControlHasItsCaptionAndPlace) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  const Expected controls[] = {
      {L"启用", L"Button", {280, 112, 345, 137}},  // raised so it shows whole
      {L"保存", L"Button", {96, 72, 241, 105}},
      {L"隐藏", L"Button", {8, 112, 73, 137}},
      {L"默认热键为Print Screen", L"Button", {256, 24, 345, 52}},
      {L"设置热键：", L"Static", {16, 24, 81, 49}},
      {L"NULL", L"Edit", {88, 24, 248, 49}},  // the hotkey entry's slot
  };
  std::vector<HWND> order;
  for (const Expected& e : controls) {
    HWND c = FindChildByText(v.settings, e.caption);
    ASSERT_TRUE(c) << Utf8(e.caption);
    EXPECT_EQ(_wcsicmp(ClassOf(c).c_str(), e.cls), 0) << Utf8(e.caption) << " " << Utf8(ClassOf(c));
    RECT r = vardo::RectInParent(c);
    EXPECT_TRUE(EqualRect(&r, &e.at)) << Utf8(e.caption) << ": " << r.left << "," << r.top << "," << r.right << ","
                                      << r.bottom;
    order.push_back(c);
  }
  // Tab order is the order of the children.
  std::vector<HWND> kids = ChildWindows(v.settings, false);
  ASSERT_GE(kids.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(kids[i], order[i]) << i;
  LONG style = GetWindowLongW(order[0], GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG>(BS_AUTOCHECKBOX));
  EXPECT_EQ(SendMessageW(order[0], BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// Dark pixels of a control's face, split into runs of columns that hold
// ink. Two different characters give two different runs; boxes drawn for
// missing glyphs all look alike.
std::vector<std::vector<int>> InkRuns(const Image& img) {
  std::vector<std::vector<int>> runs;
  std::vector<int> cur;
  for (int x = 0; x < img.width; ++x) {
    int ink = 0;
    for (int y = 0; y < img.height; ++y) {
      uint32_t p = img.at(x, y);
      if (R(p) + G(p) + B(p) < 3 * 110) ++ink;
    }
    if (ink) {
      cur.push_back(ink);
    } else if (!cur.empty()) {
      runs.push_back(cur);
      cur.clear();
    }
  }
  if (!cur.empty()) runs.push_back(cur);
  return runs;
}

TEST(VardoSettings, ChineseCaptionsRenderAsDistinctGlyphs) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  for (const wchar_t* caption : {L"保存", L"隐藏", L"设置热键："}) {
    HWND c = FindChildByText(v.settings, caption);
    ASSERT_TRUE(c);
    RECT r = RectOf(c);
    // Inside the button's edge and focus frame.
    Image face = CaptureRect(r.left + 5, r.top + 5, r.right - r.left - 10, r.bottom - r.top - 10);
    auto runs = InkRuns(face);
    ASSERT_GE(runs.size(), 2u) << Utf8(caption);
    int ink = 0;
    for (auto& run : runs)
      for (int n : run) ink += n;
    EXPECT_GT(ink, 40) << Utf8(caption);
    bool all_alike = true;
    for (auto& run : runs) all_alike = all_alike && run == runs[0];
    EXPECT_FALSE(all_alike) << Utf8(caption) << " renders as identical boxes";
  }
}

TEST(VardoSettings, HideButtonHidesTheWindowAndTheProgramRunsOn) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  HWND hide = FindChildByText(v.settings, L"隐藏");
  ASSERT_TRUE(hide);
  POINT p = vardo::Centre(RectOf(hide));
  vardo::ReachableAt(v.settings, p);
  Click(p.x, p.y);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(v.settings); }, 3000));
  Settle(300);
  EXPECT_TRUE(v.process.Running());
  EXPECT_TRUE(IsWindowVisible(v.layer));
}

TEST(VardoSettings, MinimisingHidesTheWindow) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  PostMessageW(v.settings, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(v.settings); }, 3000));
  Settle(300);
  EXPECT_TRUE(v.process.Running());
}

TEST(VardoSettings, CloseRequestEndsTheWholeProgram) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  PostMessageW(v.settings, WM_CLOSE, 0, 0);
  EXPECT_TRUE(v.process.WaitExit(3000));
}

TEST(VardoSettings, CloseRequestEndsTheProgramEvenWhileHidden) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  PostMessageW(v.settings, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(v.settings); }, 3000));
  PostMessageW(v.settings, WM_CLOSE, 0, 0);
  EXPECT_TRUE(v.process.WaitExit(3000));
}

TEST(VardoSettings, DraggingAFreeSpotMovesTheWindow) {
  vardo::Running v = Start(vardo::VardoExe());
  ASSERT_TRUE(v.settings);
  RECT before = RectOf(v.settings);
  // Between "隐藏" and "启用", below "保存".
  int x = before.left + 200, y = before.top + 120;
  vardo::ReachableAt(v.settings, {x, y});
  Drag(x, y, x - 100, y - 150, 20, 15);
  EXPECT_TRUE(WaitUntil(
      [&] {
        RECT r = RectOf(v.settings);
        return r.left == before.left - 100 && r.top == before.top - 150;
      },
      3000))
      << RectOf(v.settings).left << "," << RectOf(v.settings).top;
  RECT after = RectOf(v.settings);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

}  // namespace
}  // namespace e2e
