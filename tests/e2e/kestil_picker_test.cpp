// kestil's picker as a user drives it: start-up, readouts over the known
// desktop pixels, the magnifier, the copy keys and clicks, arrow-key
// nudges, and colour callouts dragged out on the frozen picture.
#include "kestil_support_win.h"

namespace e2e::kestil {
namespace {

const uint32_t kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255), kYellow = Rgb(255, 255, 0);
const uint32_t kLabelGreen = Rgb(192, 255, 192);

// The screen pixel at (x, y) once it is `want` (within 3 s), or as it is then.
uint32_t PixelOnceItIs(int x, int y, uint32_t want) {
  uint32_t seen = 0;
  WaitUntil([&] { return (seen = ScreenPixel(x, y)) == want; }, 3000);
  return seen;
}
// The clipboard's text once it is `want` (within 3 s), or as it is then.
std::string ClipboardOnceItIs(const std::wstring& want) {
  std::wstring seen;
  WaitUntil([&] { return (seen = ClipboardText().value_or(L"")) == want; }, 3000);
  return Utf8(seen);
}

class KestilPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearClipboard();
    MoveTo(960, 600);
  }
};

TEST_F(KestilPicker, SecondStartEndsWithoutShowingAnything) {
  Picker first;
  ASSERT_TRUE(first.window);
  Process second(Exe());
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(5000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(first.process.Running());
  // Still exactly one picker on the screen.
  int pickers = 0;
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        if (IsPicker(w)) ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&pickers));
  EXPECT_EQ(pickers, 1);
}

TEST_F(KestilPicker, PanelSitsCentredAtTheTopWithItsTexts) {
  Picker p;
  ASSERT_TRUE(p.window);
  RECT wr = RectOf(p.window);
  EXPECT_EQ(wr.left, 0);
  EXPECT_EQ(wr.top, 0);
  EXPECT_EQ(wr.right, 1920);
  EXPECT_EQ(wr.bottom, 1080);
  HWND panel = Panel(p.window);
  ASSERT_TRUE(panel);
  RECT r = RectOf(panel);
  EXPECT_EQ(r.right - r.left, 265);
  EXPECT_EQ(r.bottom - r.top, 133);
  EXPECT_EQ(r.left, 960 - 265 / 2);
  EXPECT_EQ(r.top, 1);  // 10 twips
  for (const wchar_t* t : {L"kestil", L"按下 'Enter'保存HEX到剪贴板", L"按下 'Shift'保存RGB到剪贴板", L"保存图片", L"关闭"})
    EXPECT_TRUE(FindChildByText(p.window, t)) << Utf8(t);
  Image shot = CaptureRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  EXPECT_EQ(shot.at(0, 60), Rgb(14, 151, 231));    // frame
  EXPECT_EQ(shot.at(3, 120), Rgb(224, 224, 224));  // body
}

TEST_F(KestilPicker, PanelAndCalloutsScaleWithTheDpi) {
  ScopedDpi dpi(144);
  Picker p;
  ASSERT_TRUE(p.window);
  RECT r = RectOf(Panel(p.window));
  EXPECT_EQ(r.right - r.left, 398);  // 3975 x 1995 twips at 144 DPI
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(r.left, 960 - 398 / 2);
  // Readouts still measure exact screen pixels.
  EXPECT_TRUE(PointAt(p.window, 1400, 200, L"HEX: #0A00FF"));
  // The swatch is 135 twips: 14 pixels with its border.
  SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
  ASSERT_EQ(PixelOnceItIs(1614, 175, kLabelGreen), kLabelGreen);
  EXPECT_EQ(ScreenPixel(1600, 180), 0u);
  EXPECT_EQ(ScreenPixel(1613, 180), 0u);
  EXPECT_EQ(ScreenPixel(1606, 180), Rgb(10, 0, 255));
  EXPECT_EQ(ScreenPixel(1612, 180), Rgb(10, 0, 255));
}

TEST_F(KestilPicker, PanelIsDraggedByTitleHandleAndBody) {
  Picker p;
  ASSERT_TRUE(p.window);
  HWND panel = Panel(p.window);
  RECT r0 = RectOf(panel);
  Sleep(200);
  // By the title (the product name), by the grip at its left, by the body.
  const struct {
    int dx, dy;  // press point inside the panel
    int mx, my;  // movement
  } drags[] = {{130, 10, 200, 300}, {8, 8, -100, 50}, {4, 126, 60, -40}};
  for (const auto& d : drags) {
    RECT r = RectOf(panel);
    Drag(r.left + d.dx, r.top + d.dy, r.left + d.dx + d.mx, r.top + d.dy + d.my, 10, 15);
    RECT after{};
    WaitUntil([&] { return (after = RectOf(panel)).left == r.left + d.mx && after.top == r.top + d.my; }, 3000);
    EXPECT_EQ(after.left, r.left + d.mx) << d.dx << "," << d.dy;
    EXPECT_EQ(after.top, r.top + d.my) << d.dx << "," << d.dy;
  }
  RECT moved = RectOf(panel);
  EXPECT_EQ(moved.left, r0.left + 160);
  EXPECT_EQ(moved.top, r0.top + 310);
  // Dragging it past the screen's edge stops it at the edge.
  Drag(moved.left + 130, moved.top + 10, 1919, 1079, 10, 15);
  RECT edge{};
  WaitUntil([&] { return (edge = RectOf(panel)).right == 1920 && edge.bottom == 1080; }, 3000);
  EXPECT_EQ(edge.right, 1920);
  EXPECT_EQ(edge.bottom, 1080);
}

TEST_F(KestilPicker, ReadoutsShowTheFrozenPixels) {
  Picker p;
  ASSERT_TRUE(p.window);
  const struct {
    int x, y;
    const wchar_t* hex;
    const wchar_t* rgb;
  } cases[] = {{150, 150, L"HEX: #FF0000", L"RGB: 255,0,0"},   {1400, 200, L"HEX: #0A00FF", L"RGB: 10,0,255"},
               {1200, 120, L"HEX: #000000", L"RGB: 0,0,0"},    {900, 240, L"HEX: #FFFFFF", L"RGB: 255,255,255"},
               {450, 110, L"HEX: #00FF00", L"RGB: 0,255,0"},   {200, 800, L"HEX: #FF8000", L"RGB: 255,128,0"}};
  for (const auto& c : cases) {
    MoveTo(c.x, c.y);
    EXPECT_TRUE(WaitForReadout(p.window, L"HEX", c.hex)) << c.x << "," << c.y << " " << Utf8(Readout(p.window, L"HEX"));
    EXPECT_TRUE(WaitForReadout(p.window, L"RGB", c.rgb)) << Utf8(Readout(p.window, L"RGB"));
  }
  // A callout's label covers the screen but not the frozen picture: the
  // readout over the label still shows the picture beneath it.
  MoveTo(1611, 177);
  ASSERT_TRUE(WaitUntil([&] { return Readout(p.window, L"HEX") != L"HEX: #FF8000"; }));
  Sleep(100);
  const std::wstring beneath = Readout(p.window, L"HEX");
  SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
  ASSERT_EQ(PixelOnceItIs(1611, 177, kLabelGreen), kLabelGreen);
  MoveTo(1400, 200);
  ASSERT_TRUE(WaitForReadout(p.window, L"HEX", L"HEX: #0A00FF"));
  MoveTo(1611, 177);
  EXPECT_TRUE(WaitForReadout(p.window, L"HEX", beneath)) << Utf8(Readout(p.window, L"HEX"));
}

TEST_F(KestilPicker, MagnifierShowsFourTimesTheFrozenPixels) {
  Picker p;
  ASSERT_TRUE(p.window);
  RECT r = RectOf(Panel(p.window));
  const int mx = r.left + 8, my = r.top + 28;  // the 67 x 67 box
  // The pointer on the red block's bottom-right pixel: the magnifier's
  // source starts 7 pixels up and left, so 8 source pixels (32 zoomed) of
  // red, then the surroundings.
  MoveTo(299, 249);
  ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(mx + 5, my + 5) == kRed && ScreenPixel(mx + 40, my + 5) != kRed; }, 3000))
      << "pointer " << CursorPos().x << "," << CursorPos().y << ", box pixels " << std::hex << ScreenPixel(mx + 5, my + 5)
      << " " << ScreenPixel(mx + 40, my + 5) << ", panel at " << std::dec << RectOf(Panel(p.window)).left << ","
      << RectOf(Panel(p.window)).top;
  Image box = CaptureRect(mx, my, 67, 67);
  for (int i = 0; i < 27; ++i) {
    EXPECT_EQ(box.at(i, 10), kRed) << i;
    EXPECT_EQ(box.at(10, i), kRed) << i;
  }
  EXPECT_NE(box.at(33, 10), kRed);
  EXPECT_NE(box.at(10, 33), kRed);
  // The green marker frames the pointer's pixel at (27, 27), 5 pixels wide.
  EXPECT_EQ(box.at(27, 27), Rgb(0, 255, 0));
  EXPECT_EQ(box.at(31, 29), Rgb(0, 255, 0));
  EXPECT_EQ(box.at(29, 31), Rgb(0, 255, 0));
  EXPECT_EQ(box.at(29, 29), kRed);
  // Top-left corner of the screen: off-screen source is black, the marker stays.
  MoveTo(0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(mx + 3, my + 3) == 0; }, 3000));
  box = CaptureRect(mx, my, 67, 67);
  EXPECT_EQ(box.at(27, 27), Rgb(0, 255, 0));
  EXPECT_EQ(box.at(27, 3), 0u);
}

TEST_F(KestilPicker, EveryCopyPutsItsTextAndClosesOnlyOnceTheClipboardTakesIt) {
  struct Case {
    int x, y;
    std::function<void(HWND)> act;
    const wchar_t* want;
  };
  const Case cases[] = {
      {900, 200, [](HWND) { Tap(VK_RETURN); }, L"#FFFFFF"},
      {1400, 200, [](HWND) { Tap(VK_RETURN); }, L"#0A00FF"},
      {150, 150, [](HWND) { Tap(VK_SHIFT); }, L"255,0,0"},
      {900, 200, [](HWND w) { RECT r = RectOf(ChildStartingWith(w, L"HEX")); Click(r.left + 10, (r.top + r.bottom) / 2); }, L"FFFFFF"},
      {200, 800, [](HWND w) { RECT r = RectOf(ChildStartingWith(w, L"RGB")); Click(r.left + 10, (r.top + r.bottom) / 2); }, L"255,128,0"},
  };
  const wchar_t* readouts[] = {L"HEX: #FFFFFF", L"HEX: #0A00FF", L"HEX: #FF0000", L"HEX: #FFFFFF", L"HEX: #FF8000"};
  int n = 0;
  for (const Case& c : cases) {
    ClearClipboard();
    Picker p;
    ASSERT_TRUE(p.window);
    ASSERT_TRUE(PointAt(p.window, c.x, c.y, readouts[n++]));
    c.act(p.window);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(p.window) || !IsWindowVisible(p.window); }, 3000)) << Utf8(c.want);
    auto text = ClipboardText();
    ASSERT_TRUE(text.has_value()) << Utf8(c.want);
    EXPECT_EQ(*text, c.want);
    // The program stays in the notification area.
    Sleep(200);
    EXPECT_TRUE(p.process.Running());
  }

  // Another program holds the clipboard: after at least a second the
  // "错误" box says so, the picker stays and the clipboard is untouched.
  ASSERT_TRUE(SetClipboardText(L"before"));
  Picker p;
  ASSERT_TRUE(p.window);
  ASSERT_TRUE(PointAt(p.window, 900, 200, L"HEX: #FFFFFF"));
  {
    ClipboardHold hold;
    ASSERT_TRUE(hold.held());
    const DWORD t0 = GetTickCount();
    Tap(VK_RETURN);
    HWND box = WaitForTitle(p.process.pid(), L"错误", 5000);
    ASSERT_TRUE(box) << "no 错误 box for a clipboard that stays busy";
    EXPECT_GE(GetTickCount() - t0, 1000u);
    hold.Release();
    EXPECT_NE(MessageText(box).find(L"剪贴板"), std::wstring::npos) << Utf8(MessageText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  }
  Sleep(200);
  EXPECT_TRUE(IsWindow(p.window) && IsWindowVisible(p.window));
  EXPECT_EQ(ClipboardText().value_or(L""), L"before");
  // Held for half a second: the copy waits for it, then closes.
  {
    ClipboardHold hold;
    ASSERT_TRUE(hold.held());
    const RECT r = RectOf(ChildStartingWith(p.window, L"HEX"));
    Click(r.left + 10, (r.top + r.bottom) / 2);
    Sleep(500);
    EXPECT_TRUE(IsWindow(p.window)) << "closed before the code was copied";
  }
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(p.window) || !IsWindowVisible(p.window); }, 3000))
      << "the copy gave up on a clipboard held for 0.5 s";
  EXPECT_EQ(ClipboardText().value_or(L""), L"FFFFFF");
  EXPECT_EQ(WaitForTitle(p.process.pid(), L"错误", 1500), nullptr) << "a 错误 box after the copy was made";
}

TEST_F(KestilPicker, ArrowKeysMoveThePointerOnePixel) {
  Picker p;
  ASSERT_TRUE(p.window);
  ASSERT_TRUE(PointAt(p.window, 299, 150, L"HEX: #FF0000"));
  Tap(VK_RIGHT);
  ASSERT_TRUE(WaitUntil([] { return CursorPos().x == 300; }, 2000));
  EXPECT_EQ(CursorPos().y, 150);
  // The readout follows onto the pixel beside the red block.
  EXPECT_TRUE(WaitUntil([&] { return Readout(p.window, L"HEX") != L"HEX: #FF0000"; }, 2000));
  Tap(VK_DOWN);
  ASSERT_TRUE(WaitUntil([] { return CursorPos().y == 151; }, 2000));
  Tap(VK_LEFT);
  ASSERT_TRUE(WaitUntil([] { return CursorPos().x == 299; }, 2000));
  EXPECT_TRUE(WaitForReadout(p.window, L"HEX", L"HEX: #FF0000"));
  Tap(VK_UP);
  ASSERT_TRUE(WaitUntil([] { return CursorPos().y == 150; }, 2000));
  // Auto-repeat: five key-down events without a release move five pixels.
  for (int i = 0; i < 5; ++i) {
    KeyDown(VK_LEFT);
    Sleep(30);
  }
  KeyUp(VK_LEFT);
  ASSERT_TRUE(WaitUntil([] { return CursorPos().x == 294; }, 2000)) << CursorPos().x;
  Sleep(100);
  EXPECT_EQ(CursorPos().x, 294);
  EXPECT_EQ(CursorPos().y, 150);
  // Other keys leave the pointer where it is.
  Tap('A');
  Sleep(100);
  EXPECT_EQ(CursorPos().x, 294);
  EXPECT_TRUE(IsWindowVisible(p.window));
  // Nudged on the panel, the pointer moves on the panel: the readout keeps
  // the red read on the picture, not the purple hidden under the panel.
  ASSERT_TRUE(WaitForReadout(p.window, L"HEX", L"HEX: #FF0000"));
  const RECT panel = RectOf(Panel(p.window));
  MoveTo(panel.left + 3, panel.top + 120);
  Tap(VK_RIGHT);
  ASSERT_TRUE(WaitUntil([&] { return CursorPos().x == panel.left + 4; }, 2000));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(p.window, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &ignored);  // the key handled
  EXPECT_EQ(Utf8(Readout(p.window, L"HEX")), "HEX: #FF0000");
}

TEST_F(KestilPicker, FlatDragLaysTheCalloutAlongToThePointer) {
  Picker p;
  ASSERT_TRUE(p.window);
  // From the (10,0,255) block, right and a little down: octant 1.
  SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
  ASSERT_EQ(PixelOnceItIs(1610, 177, kLabelGreen), kLabelGreen);
  // 45-degree leader from the pixel to (1430, 180), then flat to the pointer.
  for (int i : {5, 10, 20, 29}) EXPECT_EQ(ScreenPixel(1400 + i, 150 + i), kRed) << i;
  for (int x : {1440, 1500, 1580, 1599}) EXPECT_EQ(ScreenPixel(x, 180), kRed) << x;
  // Swatch: 9 x 9 with a black border, its left edge at the pointer.
  EXPECT_EQ(ScreenPixel(1600, 180), 0u);
  EXPECT_EQ(ScreenPixel(1608, 180), 0u);
  EXPECT_EQ(ScreenPixel(1604, 176), 0u);
  EXPECT_EQ(ScreenPixel(1604, 180), Rgb(10, 0, 255));
  EXPECT_EQ(ScreenPixel(1602, 182), Rgb(10, 0, 255));
  // Label beyond the swatch, on the light green template background.
  EXPECT_EQ(ScreenPixel(1609, 177), kLabelGreen);
  EXPECT_EQ(ScreenPixel(1610, 177), kLabelGreen);
  EXPECT_NE(ScreenPixel(1608, 177), kLabelGreen);
}

TEST_F(KestilPicker, SteepDragEndsTheCalloutOnTheDiagonalAndOtherButtonsOnlyDropOne) {
  Picker p;
  ASSERT_TRUE(p.window);
  // From the green block, down and a little left: octant 3.
  SlowDrag({400, 150}, {{390, 220}, {380, 300}});
  ASSERT_EQ(PixelOnceItIs(240, 300, kLabelGreen), kLabelGreen);
  for (int i : {5, 10, 40, 90}) EXPECT_EQ(ScreenPixel(400 - i, 150 + i), kRed) << i;
  // No flat leader.
  EXPECT_NE(ScreenPixel(320, 300), kRed);
  EXPECT_NE(ScreenPixel(370, 300), kRed);
  // Swatch left of the leader's end (250, 300), label left of the swatch.
  EXPECT_EQ(ScreenPixel(249, 300), 0u);
  EXPECT_EQ(ScreenPixel(241, 300), 0u);
  EXPECT_EQ(ScreenPixel(245, 300), Rgb(0, 255, 0));
  EXPECT_EQ(ScreenPixel(240, 300), kLabelGreen);
  EXPECT_EQ(ScreenPixel(239, 300), kLabelGreen);

  // A middle press on the white block drops a callout too, laid out for
  // the last direction: swatch and label left of the pixel.
  MoveTo(900, 200);
  Sleep(60);
  MiddleDown();
  Sleep(150);
  MiddleUp();
  EXPECT_TRUE(WaitUntil([] { return ScreenPixel(899, 200) == 0 && ScreenPixel(891, 200) == 0; }, 2000));
  EXPECT_EQ(ScreenPixel(890, 200), kLabelGreen);
  // So does a right press; moves with only the right button held change
  // the direction (down and right) but do not lay the callout out again.
  MoveTo(1000, 200);
  Sleep(60);
  RightDown();
  Sleep(160);
  MoveTo(1010, 230);
  Sleep(160);
  MoveTo(1020, 260);
  Sleep(250);
  EXPECT_EQ(PixelOnceItIs(999, 200, 0), 0u);
  EXPECT_EQ(PixelOnceItIs(990, 200, kLabelGreen), kLabelGreen);
  EXPECT_NE(ScreenPixel(1012, 200), kLabelGreen);
  RightUp();
  Sleep(150);
  EXPECT_EQ(ScreenPixel(999, 200), 0u);
  EXPECT_FALSE(MenuOpen());
}

TEST_F(KestilPicker, LabelDragAndCalloutMenuCommands) {
  Picker p;
  ASSERT_TRUE(p.window);
  // Where the callout, its moved label and its lines will be, as the frozen
  // picture shows it before any callout.
  const RECT area{1395, 145, 1790, 265};
  auto area_now = [&] { return CaptureRect(area.left, area.top, area.right - area.left, area.bottom - area.top); };
  const Image clean = area_now();
  SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
  ASSERT_EQ(PixelOnceItIs(1611, 177, kLabelGreen), kLabelGreen);

  // Move the label: the lines are blue while it is dragged, red after.
  MoveTo(1612, 177);
  Sleep(60);
  LeftDown();
  Sleep(120);
  MoveTo(1637, 197);
  Sleep(120);
  MoveTo(1662, 217);
  Sleep(200);
  EXPECT_EQ(PixelOnceItIs(1420, 170, kBlue), kBlue);
  EXPECT_EQ(PixelOnceItIs(1500, 180, kBlue), kBlue);
  LeftUp();
  Sleep(200);
  EXPECT_EQ(PixelOnceItIs(1420, 170, kRed), kRed);
  EXPECT_EQ(PixelOnceItIs(1661, 217, kLabelGreen), kLabelGreen);  // moved by (50, 40)
  EXPECT_NE(ScreenPixel(1611, 177), kLabelGreen);
  EXPECT_EQ(ScreenPixel(1604, 180), Rgb(10, 0, 255));  // the swatch stays

  // The menu opens on the right press; the release where the button was
  // pressed neither chooses an item nor closes it.
  auto open_menu = [&] {
    MoveTo(1664, 217);
    Sleep(20);
    RightDown();
    ASSERT_TRUE(WaitUntil(MenuOpen, 3000)) << "no menu while the button is down";
    RightUp();
    Sleep(150);
    ASSERT_TRUE(MenuOpen()) << "the release closed the menu";
  };
  auto menu = [&](int item) {
    open_menu();
    ChooseMenuItem(item);
    ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); }, 3000));
    Sleep(150);
  };
  // "复制颜色编码到剪贴板" copies the label as shown.
  ClearClipboard();
  menu(2);
  EXPECT_EQ(ClipboardOnceItIs(L"#0A00FF"), "#0A00FF");
  // While another program holds the clipboard the copy says so in the
  // "错误" box and leaves the clipboard as it was.
  ASSERT_TRUE(SetClipboardText(L"before"));
  {
    ClipboardHold hold;
    ASSERT_TRUE(hold.held());
    menu(2);
    HWND box = WaitForTitle(p.process.pid(), L"错误", 5000);
    ASSERT_TRUE(box);
    hold.Release();
    EXPECT_NE(MessageText(box).find(L"剪贴板"), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  }
  EXPECT_EQ(ClipboardText().value_or(L""), L"before");
  EXPECT_TRUE(IsWindowVisible(p.window));
  // "RGB 色码", then copy again.
  menu(4);
  menu(2);
  EXPECT_EQ(ClipboardOnceItIs(L"10,0,255"), "10,0,255");
  // "RGB 色码" again changes nothing; "HEX 色码" switches back.
  ASSERT_TRUE(ClearClipboard());
  menu(4);
  menu(2);
  EXPECT_EQ(ClipboardOnceItIs(L"10,0,255"), "10,0,255");
  menu(3);
  menu(2);
  EXPECT_EQ(ClipboardOnceItIs(L"#0A00FF"), "#0A00FF");
  // Pressed, dragged onto "复制颜色编码到剪贴板" and released there: chosen.
  ASSERT_TRUE(ClearClipboard());
  ASSERT_TRUE(ChooseWithHeldRightButton(1664, 217, 2, 5));
  EXPECT_TRUE(WaitUntil([] { return ClipboardText().value_or(L"") == L"#0A00FF"; }, 2000));
  // "取色线颜色" > "黄": lines and text yellow.
  open_menu();
  Tap(VK_DOWN);
  Sleep(40);
  Tap(VK_RIGHT);
  Sleep(80);
  Tap(VK_DOWN);
  Sleep(40);
  Tap(VK_RETURN);
  ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); }, 3000));
  Sleep(150);
  EXPECT_EQ(PixelOnceItIs(1420, 170, kYellow), kYellow);
  EXPECT_EQ(PixelOnceItIs(1500, 180, kYellow), kYellow);
  // "删除": every part of the callout is gone, the frozen picture is back.
  menu(1);
  size_t left = 0;
  EXPECT_TRUE(WaitUntil([&] { return (left = CountDifferent(clean, area_now())) == 0; }, 3000))
      << left << " pixels of the callout's area still differ from the picture without it";
  EXPECT_NE(ScreenPixel(1420, 170), kYellow);
  EXPECT_NE(ScreenPixel(1661, 217), kLabelGreen);
  EXPECT_NE(ScreenPixel(1604, 180), Rgb(10, 0, 255));
}

}  // namespace
}  // namespace e2e::kestil
