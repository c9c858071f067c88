// What a user does with pinned images, end to end with real input: the
// highlight after an add, collapsing and expanding, captions, dragging,
// the image menu (delete, send to the back, save, opacity), the topmost
// keeper, drops on an image and the handle coming back in front.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "harness_win.h"
#include "pin_support_win.h"
#include "vardo_support_win.h"

namespace e2e {
namespace {

using pins::Images;
using pins::RedAndClear;
using pins::Solid;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kKey = 0x400040;

void Keys(std::initializer_list<WORD> keys) {
  for (WORD k : keys) {
    Tap(k);
    Sleep(60);
  }
}

RECT Expanded(const RECT& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

std::string Text(const std::optional<RECT>& r) {
  if (!r) return "none";
  return std::to_string(r->left) + "," + std::to_string(r->top) + " to " + std::to_string(r->right) + "," +
         std::to_string(r->bottom);
}

// What is seen once it is as expected (within 3 s), or as it is then: a
// window's rectangle, a screen pixel (within 2 of `want`), the white box
// (the handle) in an area, the pixels of the screen at (x, y) that differ
// from `want`.
RECT RectOnce(HWND w, const std::function<bool(const RECT&)>& ok) {
  RECT seen{};
  WaitUntil([&] { return ok(seen = RectOf(w)); }, 3000);
  return seen;
}
uint32_t PixelOnceNear(POINT at, uint32_t want) {
  uint32_t seen = 0;
  WaitUntil([&] { return ColourDistance(seen = CaptureRect(at.x, at.y, 1, 1).at(0, 0), want) <= 2; }, 3000);
  return seen;
}
std::optional<RECT> WhiteBoxOnce(const RECT& area, const std::function<bool(const RECT&)>& ok) {
  std::optional<RECT> seen;
  WaitUntil([&] {
    seen = vardo::WhiteBox(area.left, area.top, area.right - area.left, area.bottom - area.top);
    return seen && ok(*seen);
  }, 3000);
  return seen;
}
size_t DifferingOnceNone(int x, int y, const Image& want) {
  size_t seen = 0;
  WaitUntil([&] { return (seen = CountDifferent(CaptureRect(x, y, want.width, want.height), want)) == 0; }, 3000);
  return seen;
}

class Pins : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string why = dropper_.unavailable(); !why.empty()) GTEST_SKIP() << why;
    MoveTo(100, 900);
    v_ = pins::StartVardo();
    ASSERT_TRUE(v_.layer && v_.handle.right > 0);
  }

  DWORD pid() const { return v_.process.pid(); }

  // Writes a picture and drops it on the handle; returns the new image.
  HWND Add(const std::wstring& name, int w, int h, const std::vector<uint32_t>& argb) {
    const size_t before = Images(v_.layer).size();
    EXPECT_TRUE(EncodeArgbPng(w, h, argb, dir_ / name));
    EXPECT_EQ(dropper_.Drop(vardo::Centre(v_.handle), {dir_ / name}), 0);
    std::vector<HWND> images;
    if (!WaitUntil([&] { return (images = Images(v_.layer)).size() == before + 1; }, 3000)) return nullptr;
    Settle(100);
    return images[0];
  }

  void OpenImageMenu(POINT at) {
    RightClick(at.x, at.y);
    ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(pid()) != nullptr; }, 3000));
    Settle(100);
  }

  // Runs an item of the image menu: 删除, 置于下层, 保存为, then the
  // opacity submenu's 50%, 70%, 恢复正常.
  enum Item { kDelete = 1, kToBack, kSaveAs };
  void ImageMenu(POINT at, Item item) {
    OpenImageMenu(at);
    for (int i = 0; i < item; ++i) Keys({VK_DOWN});
    Keys({VK_RETURN});
    Settle(200);
  }
  void OpacityMenu(POINT at, int entry) {
    OpenImageMenu(at);
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT});
    for (int i = 0; i < entry; ++i) Keys({VK_DOWN});
    Keys({VK_RETURN});
    Settle(300);
  }

  // The layer's layered attributes.
  struct Layered {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
  };
  Layered Attributes() const {
    Layered a;
    GetLayeredWindowAttributes(v_.layer, &a.key, &a.alpha, &a.flags);
    return a;
  }
  // The attributes once `ok` holds for them (within 3 s), or as they are then.
  Layered AttributesOnce(const std::function<bool(const Layered&)>& ok) const {
    Layered seen;
    WaitUntil([&] { return ok(seen = Attributes()); }, 3000);
    return seen;
  }

  TempDir dir_{L"pins"};
  pins::Dropper dropper_{dir_};
  vardo::Running v_;
};

TEST_F(Pins, AnAddedImageIsFramedThenTheFrameTurnsRedYellowGreenAndGoes) {
  SIZE s = ScreenSize();
  // The frame is 3 px wide and centred one pixel outside the image: its
  // middle line is 1 px left of the image.
  const int w = 100, h = 80;
  const POINT probe{(s.cx - w) / 2 - 1, (s.cy - h) / 2 + h / 2};
  const uint32_t desktop = CaptureRect(probe.x, probe.y, 1, 1).at(0, 0);
  std::vector<uint32_t> seen;
  std::vector<DWORD> when;
  const DWORD start = GetTickCount();
  HWND image = Add(L"framed.png", w, h, Solid(w, h, kBlue));
  ASSERT_TRUE(image);
  // Watch the frame for three seconds.
  while (GetTickCount() - start < 3500) {
    const uint32_t c = CaptureRect(probe.x, probe.y, 1, 1).at(0, 0);
    if (seen.empty() || seen.back() != c) {
      seen.push_back(c);
      when.push_back(GetTickCount() - start);
    }
    Sleep(25);
  }
  std::vector<uint32_t> order;
  for (uint32_t c : seen)
    for (uint32_t want : {Rgb(255, 0, 255), Rgb(255, 0, 0), Rgb(255, 255, 0), Rgb(0, 255, 0)})
      if (c == want && (order.empty() || order.back() != c)) order.push_back(c);
  // Magenta first for the first image of a run (it may already be red by
  // the time the drop tool returns), then red, yellow, green, then gone.
  if (!order.empty() && order.front() == Rgb(255, 0, 255)) order.erase(order.begin());
  EXPECT_EQ(order, (std::vector<uint32_t>{Rgb(255, 0, 0), Rgb(255, 255, 0), Rgb(0, 255, 0)}));
  EXPECT_EQ(seen.back(), desktop);
  // Green shows for about one tick before the frame goes.
  for (size_t i = 0; i + 1 < seen.size(); ++i)
    if (seen[i] == Rgb(0, 255, 0) && seen[i + 1] == desktop) {
      EXPECT_GE(when[i + 1] - when[i], 300u);
      EXPECT_LE(when[i + 1] - when[i], 900u);
    }
  // A later (larger) image starts with the colour the frame had last:
  // green. (The frame lies under images, so it must be outside the first.)
  const POINT probe2{(s.cx - 160) / 2 - 1, (s.cy - 120) / 2 + 60};
  const uint32_t bare = CaptureRect(probe2.x, probe2.y, 1, 1).at(0, 0);
  ASSERT_TRUE(Add(L"second.png", 160, 120, Solid(160, 120, kBlue)));
  // The first colour the frame shows there.
  uint32_t first = bare;
  WaitUntil([&] { return (first = CaptureRect(probe2.x, probe2.y, 1, 1).at(0, 0)) != bare; }, 3000);
  EXPECT_EQ(first, Rgb(0, 255, 0)) << std::hex << first;
}

TEST_F(Pins, APressOfAnyButtonOnAnImageHidesTheFrameAtOnce) {
  SIZE s = ScreenSize();
  const int w = 120, h = 90;
  const POINT probe{(s.cx - w) / 2 - 1, (s.cy - h) / 2 + h / 2};
  const uint32_t desktop = CaptureRect(probe.x, probe.y, 1, 1).at(0, 0);
  HWND image = Add(L"pressed.png", w, h, Solid(w, h, kBlue));
  ASSERT_TRUE(image);
  ASSERT_TRUE(WaitUntil([&] { return CaptureRect(probe.x, probe.y, 1, 1).at(0, 0) != desktop; }, 3000))
      << "no frame to hide";
  // The middle button: neither a drag nor a menu, but it still counts.
  MoveTo(s.cx / 2, s.cy / 2);
  Sleep(30);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
  SendInput(2, in, sizeof(INPUT));
  const DWORD pressed = GetTickCount();
  ASSERT_TRUE(WaitUntil([&] { return CaptureRect(probe.x, probe.y, 1, 1).at(0, 0) == desktop; }, 1000));
  // Sooner than the next tick of the blinker could have hidden it.
  EXPECT_LT(GetTickCount() - pressed, 400u);
  EXPECT_EQ(vardo::VisiblePopupMenu(pid()), nullptr);
  RECT r = RectOf(image);
  EXPECT_EQ(r.left, (s.cx - w) / 2);
}

TEST_F(Pins, DoubleClickCollapsesToACaptionedTileAndExpandsInPlace) {
  HWND image = Add(L"big.png", 160, 100, RedAndClear(160, 100));
  ASSERT_TRUE(image);
  const RECT full = RectOf(image);
  HWND caption = pins::CaptionWithText(v_.layer, L"1#");
  ASSERT_TRUE(caption);
  EXPECT_FALSE(IsWindowVisible(caption));

  POINT c = vardo::Centre(full);
  DoubleClick(c.x, c.y);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(image).right - RectOf(image).left == 30; }, 3000));
  Settle(150);
  RECT tile = RectOf(image);
  EXPECT_EQ(tile.left, full.left);
  EXPECT_EQ(tile.top, full.top);
  EXPECT_EQ(tile.bottom - tile.top, 30);
  // The tile shows the picture's top-left corner.
  const uint32_t corner = PixelOnceNear({tile.left + 15, tile.top + 15}, kRed);
  EXPECT_LE(ColourDistance(corner, kRed), 2) << std::hex << corner;
  // The caption sits on top of the tile's left edge.
  ASSERT_TRUE(IsWindowVisible(caption));
  RECT cap = RectOf(caption);
  EXPECT_EQ(cap.left, full.left);
  EXPECT_EQ(cap.bottom, full.top);
  const uint32_t cap_face = PixelOnceNear({cap.right - 3, cap.top + 2}, Rgb(0, 153, 255));
  EXPECT_LE(ColourDistance(cap_face, Rgb(0, 153, 255)), 2) << std::hex << cap_face;

  // Double-clicking the tile brings the whole picture back at the same
  // corner and hides the caption.
  DoubleClick(tile.left + 15, tile.top + 15);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(image).right - RectOf(image).left == 160; }, 3000));
  Settle(150);
  RECT again = RectOf(image);
  EXPECT_TRUE(EqualRect(&again, &full));
  EXPECT_FALSE(IsWindowVisible(caption));
  const uint32_t clear = PixelOnceNear({full.right - 10, full.top + 10}, Rgb(255, 255, 255));
  EXPECT_LE(ColourDistance(clear, Rgb(255, 255, 255)), 2) << std::hex << clear;

  // A picture thinner than the tile: the tile shows its face below the
  // picture, not whatever lay there before.
  HWND thin = Add(L"thin.png", 200, 14, std::vector<uint32_t>(200 * 14, 0xFFFF0000u));
  ASSERT_TRUE(thin);
  const RECT t0 = RectOf(thin);
  DoubleClick(t0.left + 100, t0.top + 7);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(thin).bottom - RectOf(thin).top == 30; }, 3000));
  const RECT tt = RectOf(thin);
  const COLORREF f = GetSysColor(COLOR_BTNFACE);
  const uint32_t face = Rgb(GetRValue(f), GetGValue(f), GetBValue(f));
  EXPECT_TRUE(WaitUntil([&] { return ColourDistance(CaptureRect(tt.left + 15, tt.top + 25, 1, 1).at(0, 0), face) <= 2; },
                        2000))
      << std::hex << CaptureRect(tt.left + 15, tt.top + 25, 1, 1).at(0, 0);
  EXPECT_LE(ColourDistance(CaptureRect(tt.left + 15, tt.top + 5, 1, 1).at(0, 0), kRed), 2);
}

TEST_F(Pins, CollapsingAnImagePartlyOffTheLeftEdgeKeepsTheTileOnScreenButNotItsCaption) {
  HWND image = Add(L"wide.png", 300, 120, RedAndClear(300, 120));
  ASSERT_TRUE(image);
  RECT r = RectOf(image);
  // Drag it so its left edge is 60 px off the screen.
  const int dx = -(r.left + 60);
  Drag(r.left + 70, r.top + 30, r.left + 70 + dx, r.top + 30, 20, 10);
  r = RectOnce(image, [](const RECT& now) { return now.left == -60; });
  ASSERT_EQ(r.left, -60);
  DoubleClick(40, r.top + 30);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(image).right - RectOf(image).left == 30; }, 3000));
  Settle(150);
  RECT tile = RectOf(image);
  EXPECT_EQ(tile.left, 0);
  EXPECT_EQ(tile.top, r.top);
  HWND caption = pins::CaptionWithText(v_.layer, L"1#");
  ASSERT_TRUE(caption);
  EXPECT_EQ(RectOf(caption).left, -60);
}

TEST_F(Pins, DraggingMovesAnImageAndDraggingItsCaptionMovesBoth) {
  HWND image = Add(L"drag.png", 120, 90, RedAndClear(120, 90));
  ASSERT_TRUE(image);
  RECT r = RectOf(image);
  Drag(r.left + 20, r.top + 20, r.left + 20 - 300, r.top + 20 + 150, 15, 10);
  RECT moved = RectOnce(image, [&](const RECT& now) { return now.left == r.left - 300 && now.top == r.top + 150; });
  EXPECT_EQ(moved.left, r.left - 300);
  EXPECT_EQ(moved.top, r.top + 150);
  EXPECT_EQ(moved.right - moved.left, 120);
  // What is on the screen moved with it.
  const uint32_t shown = PixelOnceNear({moved.left + 5, moved.top + 5}, kRed);
  EXPECT_LE(ColourDistance(shown, kRed), 2) << std::hex << shown;

  // Collapse, then drag by the caption.
  DoubleClick(moved.left + 10, moved.top + 10);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(image).right - RectOf(image).left == 30; }, 3000));
  HWND caption = pins::CaptionWithText(v_.layer, L"1#");
  ASSERT_TRUE(caption && IsWindowVisible(caption));
  const RECT cap = RectOf(caption);
  const RECT tile = RectOf(image);
  Drag(cap.right - 10, (cap.top + cap.bottom) / 2, cap.right - 10 + 200, (cap.top + cap.bottom) / 2 + 120, 15, 10);
  const RECT cap2 =
      RectOnce(caption, [&](const RECT& now) { return now.left - cap.left == 200 && now.top - cap.top == 120; });
  const RECT tile2 =
      RectOnce(image, [&](const RECT& now) { return now.left - tile.left == 200 && now.top - tile.top == 120; });
  EXPECT_EQ(cap2.left - cap.left, 200);
  EXPECT_EQ(cap2.top - cap.top, 120);
  EXPECT_EQ(tile2.left - tile.left, 200);
  EXPECT_EQ(tile2.top - tile.top, 120);
  EXPECT_EQ(cap2.bottom, tile2.top);
}

TEST_F(Pins, TypingInACaptionWidensItByTheTextsWidth) {
  HWND image = Add(L"cap.png", 80, 60, RedAndClear(80, 60));
  ASSERT_TRUE(image);
  RECT r = RectOf(image);
  DoubleClick(r.left + 10, r.top + 10);
  HWND caption = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (caption = pins::CaptionWithText(v_.layer, L"1#")) && IsWindowVisible(caption); },
                        3000));
  const RECT before = RectOf(caption);
  // The box is the text's extent in the layer's measuring font (Consolas
  // 9 pt) plus 1000 twips across and 100 twips down.
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Consolas");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE two{}, more{};
  GetTextExtentPoint32W(dc, L"1#", 2, &two);
  GetTextExtentPoint32W(dc, L"1# pinned", 9, &more);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(before.right - before.left, two.cx + 67);
  EXPECT_EQ(before.bottom - before.top, two.cy + 7);

  Click(before.right - 5, (before.top + before.bottom) / 2);
  Settle(100);
  Tap(VK_END);
  TypeText(L" pinned");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(caption) == L"1# pinned"; }, 3000)) << Utf8(TextOf(caption));
  Settle(100);
  const RECT after = RectOf(caption);
  EXPECT_EQ(after.right - after.left, more.cx + 67);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
}

TEST_F(Pins, ImageMenuSendsToTheBackAndDeletesWithoutReusingIndices) {
  HWND back = Add(L"red.png", 240, 160, Solid(240, 160, kRed));
  HWND front = Add(L"blue.png", 100, 70, Solid(100, 70, kBlue));
  ASSERT_TRUE(back && front);
  SIZE s = ScreenSize();
  POINT mid{s.cx / 2, s.cy / 2};
  Sleep(2200);  // let the highlight run out
  EXPECT_LE(ColourDistance(CaptureRect(mid.x, mid.y, 1, 1).at(0, 0), kBlue), 2);

  ImageMenu(mid, kToBack);
  ASSERT_TRUE(WaitUntil([&] { return Images(v_.layer).front() == back; }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return ColourDistance(CaptureRect(mid.x, mid.y, 1, 1).at(0, 0), kRed) <= 2; }, 2000));

  // The red one is pressed now: delete it.
  ImageMenu(mid, kDelete);
  ASSERT_TRUE(WaitUntil([&] { return Images(v_.layer).size() == 1; }, 2000));
  EXPECT_EQ(Images(v_.layer).front(), front);
  EXPECT_FALSE(IsWindow(back) && IsWindowVisible(back));
  EXPECT_EQ(pins::CaptionWithText(v_.layer, L"1#"), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ColourDistance(CaptureRect(mid.x, mid.y, 1, 1).at(0, 0), kBlue) <= 2; }, 2000));
  // Where the red one showed alone, the desktop is back.
  const RECT gone = Expanded(RectOf(front), 20);
  const uint32_t was = CaptureRect(gone.left, mid.y, 1, 1).at(0, 0);
  EXPECT_GT(ColourDistance(was, kRed), 30);

  // Delete the last one too: the layer and its handle stay.
  ImageMenu(mid, kDelete);
  ASSERT_TRUE(WaitUntil([&] { return Images(v_.layer).empty(); }, 2000));
  EXPECT_TRUE(IsWindowVisible(v_.layer));
  EXPECT_TRUE(vardo::HandleNearTopRight().has_value());
  // The next image takes index 3, not a freed one.
  ASSERT_TRUE(Add(L"third.png", 50, 50, Solid(50, 50, kRed)));
  EXPECT_NE(pins::CaptionWithText(v_.layer, L"3#"), nullptr);
  EXPECT_EQ(pins::CaptionWithText(v_.layer, L"1#"), nullptr);
  EXPECT_EQ(pins::CaptionWithText(v_.layer, L"2#"), nullptr) << "deleted";
  EXPECT_TRUE(v_.process.Running());
}

TEST_F(Pins, OpacityVeilsTheWholeLayerAndACaptureRequestOnlyRestoresIt) {
  HWND image = Add(L"veil.png", 100, 100, Solid(100, 100, kBlue));
  ASSERT_TRUE(image);
  SIZE s = ScreenSize();
  POINT mid{s.cx / 2, s.cy / 2};
  const POINT free_spot{300, 700};
  const uint32_t desktop = CaptureRect(free_spot.x, free_spot.y, 1, 1).at(0, 0);
  ASSERT_EQ(Attributes().flags, static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(Attributes().key, static_cast<COLORREF>(RGB(64, 0, 64)));

  OpacityMenu(mid, 0);  // 50%
  Layered a = AttributesOnce([](const Layered& now) { return now.flags == LWA_ALPHA; });
  EXPECT_EQ(a.flags, static_cast<DWORD>(LWA_ALPHA));
  EXPECT_EQ(a.alpha, 200);
  // The background is no longer see-through: the screen is veiled in it.
  // (Without a compositor the X server shows the layer opaque; with one it
  // is blended. Either way the desktop is no longer shown as it was.)
  const int blended_r = (R(desktop) * 200 + 64 * 55) / 255;
  auto is_veil = [&](uint32_t c) { return ColourDistance(c, kKey) <= 2 || std::abs(R(c) - blended_r) <= 3; };
  uint32_t veiled = desktop;
  WaitUntil([&] {
    veiled = CaptureRect(free_spot.x, free_spot.y, 1, 1).at(0, 0);
    return veiled != desktop && is_veil(veiled);
  }, 3000);
  EXPECT_NE(veiled, desktop);
  EXPECT_TRUE(is_veil(veiled)) << std::hex << veiled;

  OpacityMenu(mid, 1);  // 70%
  a = AttributesOnce([](const Layered& now) { return now.flags == LWA_ALPHA && now.alpha == 125; });
  EXPECT_EQ(a.alpha, 125);
  EXPECT_EQ(a.flags, static_cast<DWORD>(LWA_ALPHA));
  OpacityMenu(mid, 2);  // 恢复正常
  a = AttributesOnce([](const Layered& now) { return now.flags == LWA_COLORKEY; });
  EXPECT_EQ(a.flags, static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(a.key, static_cast<COLORREF>(RGB(64, 0, 64)));
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(free_spot.x, free_spot.y, 1, 1).at(0, 0) == desktop; }, 2000));

  // Translucent again; "截图" from the handle menu only restores normal mode.
  OpacityMenu(mid, 0);
  ASSERT_EQ(AttributesOnce([](const Layered& now) { return now.flags == LWA_ALPHA; }).flags,
            static_cast<DWORD>(LWA_ALPHA));
  POINT h = vardo::Centre(v_.handle);
  RightClick(h.x, h.y);
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(pid()) != nullptr; }, 3000));
  Settle(100);
  Keys({VK_DOWN, VK_RETURN});
  Settle(2000);  // long enough for a capture it might start
  EXPECT_EQ(AttributesOnce([](const Layered& now) { return now.flags == LWA_COLORKEY; }).flags,
            static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(FindWindowW(L"VardoScrShot", nullptr) && IsWindowVisible(FindWindowW(L"VardoScrShot", nullptr)), false);
  EXPECT_TRUE(IsWindowVisible(v_.layer));
  // The next one starts a capture.
  RightClick(h.x, h.y);
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(pid()) != nullptr; }, 3000));
  Settle(100);
  Keys({VK_DOWN, VK_RETURN});
  HWND overlay = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] { return (overlay = FindWindowW(L"VardoScrShot", nullptr)) != nullptr && IsWindowVisible(overlay); }, 5000));
  if (overlay) PostMessageW(overlay, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(v_.layer) != FALSE; }, 3000));
}

TEST_F(Pins, TheLayerReturnsAboveAnotherTopmostWindowWithinFiveSeconds) {
  HWND image = Add(L"top.png", 120, 120, Solid(120, 120, kBlue));
  ASSERT_TRUE(image);
  Sleep(2200);
  SIZE s = ScreenSize();
  POINT mid{s.cx / 2, s.cy / 2};
  // Another program's topmost window, in front, over the pin.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = L"PinsCover";
  RegisterClassW(&wc);
  HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"PinsCover", L"cover", WS_POPUP | WS_VISIBLE, mid.x - 200, mid.y - 200,
                               400, 400, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(cover);
  SetForegroundWindow(cover);
  const DWORD shown = GetTickCount();
  auto layer_in_front = [&] {
    for (HWND w = GetWindow(v_.layer, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
      if (w == cover) return false;
    return true;
  };
  auto pump = [] {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  };
  WaitUntil([&] { pump(); return !layer_in_front(); }, 1000);
  ASSERT_FALSE(layer_in_front());
  EXPECT_TRUE(WaitUntil([&] { pump(); return CaptureRect(mid.x, mid.y, 1, 1).at(0, 0) == 0u; }, 2000))
      << "the cover is not drawn in front";
  EXPECT_TRUE(WaitUntil([&] { pump(); return layer_in_front(); }, 5800, 50));
  const DWORD took = GetTickCount() - shown;
  EXPECT_LE(took, 5800u);
  pump();
  EXPECT_TRUE(WaitUntil([&] { pump(); return ColourDistance(CaptureRect(mid.x, mid.y, 1, 1).at(0, 0), kBlue) <= 2; },
                        2000));
  DestroyWindow(cover);
}

TEST_F(Pins, AFileDroppedOnAnImageOnlyShowsItsPath) {
  HWND image = Add(L"target.png", 200, 150, Solid(200, 150, kBlue));
  ASSERT_TRUE(image);
  const std::wstring other = dir_ / L"other picture.png";
  ASSERT_TRUE(EncodeArgbPng(40, 40, Solid(40, 40, kRed), other));
  const size_t children = ChildWindows(v_.layer, false).size();
  dropper_.Drop(vardo::Centre(RectOf(image)), {other});
  HWND box = WaitForWindow(pid(), [](HWND w) { return ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 5000);
  ASSERT_TRUE(box);
  bool shows_path = false;
  for (HWND c : ChildWindows(box, false))
    if (TextOf(c) == other) shows_path = true;
  EXPECT_TRUE(shows_path);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  EXPECT_EQ(Images(v_.layer).size(), 1u);
  EXPECT_EQ(ChildWindows(v_.layer, false).size(), children);
  EXPECT_EQ(pins::CaptionWithText(v_.layer, L"2#"), nullptr);
}

TEST_F(Pins, SaveAsWritesTheFormatOfTheNameAndReportsAFailedWrite) {
  const int w = 90, h = 60;
  HWND image = Add(L"save.png", w, h, RedAndClear(w, h));
  ASSERT_TRUE(image);
  const POINT at = vardo::Centre(RectOf(image));
  auto save_as = [&](const std::wstring& name) {
    ImageMenu(at, kSaveAs);
    HWND dialog = WaitForWindow(
        pid(), [](HWND d) { return ClassOf(d) == L"#32770" && IsWindowVisible(d) && GetDlgItem(d, 0x47c); }, 5000);
    EXPECT_TRUE(dialog);
    if (!dialog) return;
    SendMessageW(GetDlgItem(dialog, 0x47c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    Settle(300);
  };

  save_as(dir_ / L"pin.png");
  ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ / L"pin.png"); }, 3000));
  auto png = DecodeImageFile(dir_ / L"pin.png");
  ASSERT_TRUE(png);
  ASSERT_EQ(png->width, w);
  ASSERT_EQ(png->height, h);
  EXPECT_EQ(png->at(5, 5), Rgb(255, 0, 0));
  EXPECT_EQ(png->at(w - 5, 5), Rgb(255, 255, 255));  // transparency was laid over white
  EXPECT_EQ(png->at(w / 2, h - 2), Rgb(0, 0, 255));

  save_as(dir_ / L"PIN.JPG");
  ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ / L"PIN.JPG"); }, 3000));
  auto jpg = ReadFileBytes(dir_ / L"PIN.JPG");
  ASSERT_GT(jpg.size(), 3u);
  EXPECT_EQ(jpg[0], 0xFF);
  EXPECT_EQ(jpg[1], 0xD8);

  // "jpeg" is none of the four types: nothing is written, and the box
  // says so, naming the file; the pin stays.
  save_as(dir_ / L"pin.jpeg");
  {
    HWND box = WaitForTitle(pid(), L"错误", 5000);
    ASSERT_TRUE(box);
    std::wstring text;
    for (HWND c : ChildWindows(box, false))
      if (TextOf(c).find(L"pin.jpeg") != std::wstring::npos) text = TextOf(c);
    EXPECT_NE(text.find(L"贴图仍在屏幕上"), std::wstring::npos) << Utf8(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  }
  EXPECT_FALSE(FileExists(dir_ / L"pin.jpeg"));

  // A folder that is not there: the failure is reported and the pin stays.
  save_as(dir_ / L"no-such-folder\\pin.png");
  HWND box = WaitForTitle(pid(), L"错误", 5000);
  ASSERT_TRUE(box);
  std::wstring text;
  for (HWND c : ChildWindows(box, false))
    if (TextOf(c).find(L"错误号") != std::wstring::npos) text = TextOf(c);
  EXPECT_EQ(text.rfind(L"在保存图片的过程中发生错误:\r\n\r\n错误号: ", 0), 0u) << Utf8(text);
  EXPECT_NE(text.find(L"pin.png"), std::wstring::npos) << Utf8(text);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  EXPECT_EQ(Images(v_.layer).size(), 1u);
  EXPECT_TRUE(IsWindowVisible(image));
  EXPECT_TRUE(v_.process.Running());
}

TEST_F(Pins, ANewImageCoversTheHandleUntilAnImageIsPressed) {
  SIZE s = ScreenSize();
  POINT h = vardo::Centre(v_.handle);
  // Bring the handle to the middle of the screen, where images appear.
  const POINT to{s.cx / 2 - 60, s.cy / 2 - 40};
  Drag(h.x, h.y, to.x, to.y, 20, 10);
  const RECT area{to.x - 40, to.y - 40, to.x + 40, to.y + 40};
  const LONG side = v_.handle.right - v_.handle.left;
  auto whole = [&](const RECT& b) { return b.right - b.left == side && b.bottom - b.top == side; };
  auto handle = WhiteBoxOnce(area, whole);
  ASSERT_TRUE(handle.has_value());
  const POINT hc = vardo::Centre(*handle);

  HWND big = nullptr;
  {
    const int w = 400, hh = 300;
    EXPECT_TRUE(EncodeArgbPng(w, hh, Solid(w, hh, kRed), dir_ / L"cover.png"));
    EXPECT_EQ(dropper_.Drop(hc, {dir_ / L"cover.png"}), 0);
    std::vector<HWND> images;
    ASSERT_TRUE(WaitUntil([&] { return (images = Images(v_.layer)).size() == 1; }, 3000));
    big = images[0];
  }
  // In front of everything, the handle included.
  const uint32_t over = PixelOnceNear(hc, kRed);
  EXPECT_LE(ColourDistance(over, kRed), 2) << std::hex << over;
  EXPECT_FALSE(vardo::WhiteBox(to.x - 40, to.y - 40, 80, 80).has_value());

  // A left press on the image brings the handle back in front.
  RECT r = RectOf(big);
  Click(r.right - 20, r.bottom - 20);
  auto back = WhiteBoxOnce(area, [&](const RECT& b) { return EqualRect(&b, &*handle) != FALSE; });
  ASSERT_TRUE(back.has_value());
  EXPECT_TRUE(EqualRect(&*back, &*handle)) << Text(back) << ", was " << Text(handle);
  // It works there as the handle: a drop on it adds the next image ...
  EXPECT_EQ(dropper_.Drop(hc, {dir_ / L"cover.png"}), 0);
  EXPECT_TRUE(WaitUntil([&] { return Images(v_.layer).size() == 2; }, 3000));
  EXPECT_EQ(WaitForWindow(pid(), [](HWND w) { return ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 300),
            nullptr);
  // ... which covers it again; and a press brings it back; a drag moves it
  // off the images, leaving them whole.
  Settle(2200);
  const uint32_t again = PixelOnceNear(hc, kRed);
  EXPECT_LE(ColourDistance(again, kRed), 2) << std::hex << again;
  Click(r.right - 20, r.bottom - 20);
  ASSERT_TRUE(WhiteBoxOnce(area, whole).has_value());
  // An image added beside the handle covers it nowhere: the older images
  // stay below the handle, which still takes drops.
  const int small = 30;
  ASSERT_TRUE(EncodeArgbPng(small, small, Solid(small, small, kBlue), dir_ / L"beside.png"));
  for (size_t count : {3u, 4u}) {
    EXPECT_EQ(dropper_.Drop(hc, {dir_ / L"beside.png"}), 0);
    ASSERT_TRUE(WaitUntil([&] { return Images(v_.layer).size() == count; }, 3000)) << count;
    std::optional<RECT> still;
    WaitUntil([&] { return (still = vardo::WhiteBox(to.x - 40, to.y - 40, 80, 80)).has_value(); }, 2000);
    ASSERT_TRUE(still.has_value()) << "after image " << count;
    EXPECT_TRUE(EqualRect(&*still, &*handle));
  }
  // A new image over the handle, sent to the back: the handle is in front
  // of it again.
  EXPECT_EQ(dropper_.Drop(hc, {dir_ / L"cover.png"}), 0);
  ASSERT_TRUE(WaitUntil([&] { return Images(v_.layer).size() == 5; }, 3000));
  Settle(2200);
  // No message box came up for any of these drops (a box stays up).
  EXPECT_EQ(WaitForWindow(pid(), [](HWND w) { return ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 300),
            nullptr);
  EXPECT_FALSE(vardo::WhiteBox(to.x - 40, to.y - 40, 80, 80).has_value());
  ImageMenu({r.right - 20, r.bottom - 20}, kToBack);
  EXPECT_TRUE(WaitUntil([&] { return vardo::WhiteBox(to.x - 40, to.y - 40, 80, 80).has_value(); }, 2000));
  Drag(hc.x, hc.y, hc.x - 400, hc.y, 20, 10);
  const uint32_t bared = PixelOnceNear(hc, kRed);
  EXPECT_LE(ColourDistance(bared, kRed), 2) << std::hex << bared;
  EXPECT_TRUE(WhiteBoxOnce({hc.x - 440, hc.y - 40, hc.x - 360, hc.y + 40}, whole).has_value());
}

TEST_F(Pins, TheHandleInFrontStaysWholeOverImagesAndCaptionsAndStillWorksThere) {
  const RECT home = v_.handle;
  const int side = home.right - home.left;
  const Image tile = CaptureRect(home.left, home.top, side, side);
  HWND image = Add(L"under.png", 400, 300, Solid(400, 300, kRed));
  ASSERT_TRUE(image);
  const RECT r = RectOf(image);
  Click(r.right - 20, r.bottom - 20);  // the handle in front from now on
  Settle(200);
  // Put the handle where the caption will show: half over the image's top
  // edge.
  const POINT from = vardo::Centre(home);
  const POINT to{r.left + 20 + side / 2, r.top - 30 + side / 2};
  Drag(from.x, from.y, to.x, to.y, 25, 10);
  const RECT at{r.left + 20, r.top - 30, r.left + 20 + side, r.top - 30 + side};
  EXPECT_EQ(DifferingOnceNone(at.left, at.top, tile), 0u) << "over the image";

  // Collapse the image: its caption comes up under the handle.
  DoubleClick(r.left + 10, r.top + 200);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(image).right - RectOf(image).left == 30; }, 3000));
  HWND caption = pins::CaptionWithText(v_.layer, L"1#");
  ASSERT_TRUE(caption && IsWindowVisible(caption));
  RECT cap = RectOf(caption), overlap{};
  ASSERT_TRUE(IntersectRect(&overlap, &cap, &at)) << "the caption should lie under the handle";
  EXPECT_EQ(DifferingOnceNone(at.left, at.top, tile), 0u) << "over the caption";

  // Pressed there, it is the handle that moves, not the caption.
  const POINT away{to.x + 300, to.y - 150};
  Drag(to.x, to.y, away.x, away.y, 25, 10);
  EXPECT_EQ(DifferingOnceNone(away.x - side / 2, away.y - side / 2, tile), 0u);
  RECT cap_after = RectOf(caption);
  EXPECT_TRUE(EqualRect(&cap_after, &cap)) << Text(cap_after) << ", was " << Text(cap);
  // And the caption is whole again where the handle was.
  const uint32_t face = PixelOnceNear({cap.right - 3, cap.bottom - 3}, Rgb(0, 153, 255));
  EXPECT_LE(ColourDistance(face, Rgb(0, 153, 255)), 2) << std::hex << face;
}

TEST(PinsAt144Dpi, PicturesKeepTheirPixelsWhileTilesAndCaptionsScale) {
  ScopedDpi dpi(144);
  TempDir dir(L"pins-dpi");
  pins::Dropper dropper(dir);
  if (std::string why = dropper.unavailable(); !why.empty()) GTEST_SKIP() << why;
  vardo::Running v = pins::StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  ASSERT_EQ(v.handle.right - v.handle.left, 54);
  ASSERT_TRUE(EncodeArgbPng(200, 100, RedAndClear(200, 100), dir / L"dpi.png"));
  ASSERT_EQ(dropper.Drop(vardo::Centre(v.handle), {dir / L"dpi.png"}), 0);
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return (images = Images(v.layer)).size() == 1; }, 3000));
  // The picture is shown pixel for pixel, centred on the physical screen.
  const RECT r = RectOf(images[0]);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 100);
  EXPECT_EQ(r.left, (1920 - 200) / 2);
  EXPECT_EQ(r.top, (1080 - 100) / 2);
  // Collapsed: 450 twips are 45 px here; the caption is its text (Consolas
  // 9 pt at 144 DPI) plus 1000 by 100 twips, 100 by 10 px.
  DoubleClick(r.left + 10, r.top + 10);
  ASSERT_TRUE(WaitUntil([&] { return RectOf(images[0]).right - RectOf(images[0]).left == 45; }, 3000));
  EXPECT_EQ(RectOf(images[0]).bottom - RectOf(images[0]).top, 45);
  HWND caption = pins::CaptionWithText(v.layer, L"1#");
  ASSERT_TRUE(caption && IsWindowVisible(caption));
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-18, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Consolas");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE text{};
  GetTextExtentPoint32W(dc, L"1#", 2, &text);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  const RECT cap = RectOf(caption);
  EXPECT_EQ(cap.right - cap.left, text.cx + 100);
  EXPECT_EQ(cap.bottom - cap.top, text.cy + 10);
  EXPECT_EQ(cap.bottom, r.top);
}

}  // namespace
}  // namespace e2e
