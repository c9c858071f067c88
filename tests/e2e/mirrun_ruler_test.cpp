// mirrun as a user drives it: one instance, the frozen screen, level and
// steep measuring lines with their ticks and lengths, the live label, the
// arrow keys, the magnifier, the panel and its commands, labels moved,
// recoloured and deleted from their menu, and lengths at 144 DPI.
#include "mirrun_support_win.h"

namespace e2e::mirrun {
namespace {

// A window of the capture tests' helper that turns magenta on request.
struct Target {
  Process process{TestsDir() + L"\\tools\\capture_target.exe", L"1500 700 200 150 00A000 C800C8"};
  HWND hwnd = WaitForTitle(process.pid(), L"capture target", 10000);
};

// Points the shell's "https" verb (read from the machine-wide classes of
// the test prefix) at a copy of the probe tool while it lives.
struct BrowserStandIn {
  static constexpr wchar_t kKey[] = L"Software\\Classes\\https\\shell\\open\\command";
  TempDir dir{L"mirrun-browser"};
  std::wstring exe = dir / L"browser.exe", previous;
  static void Set(const std::wstring& cmd) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, REG_SZ, cmd.c_str(), static_cast<DWORD>((cmd.size() + 1) * 2));
  }
  BrowserStandIn() {
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf);
    if (!RegGetValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, RRF_RT_REG_SZ, nullptr, buf, &size)) previous = buf;
    CopyFileTo(TestsDir() + L"\\tools\\probe.exe", exe);
    Set(L"\"" + exe + L"\" \"%1\"");
  }
  ~BrowserStandIn() { Set(previous); }
  // The command line it was started with.
  std::wstring Opened() const {
    auto b = ReadFileBytes(exe + L".started");
    return std::wstring(reinterpret_cast<const wchar_t*>(b.data()), b.size() / sizeof(wchar_t));
  }
};

TEST(Mirrun, StartsOnceFreezesTheScreenMeasuresAndEndsFromItsPanel) {
  Target target;
  ASSERT_TRUE(target.hwnd);
  MoveTo(960, 540);
  Settle(200);
  const Image before = CaptureScreen();
  Ruler r;
  ASSERT_TRUE(r.window);
  Process second(Exe());
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(5000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(r.process.Running());

  const RECT wr = RectOf(r.window), pr = RectOf(Panel(r.window));
  EXPECT_TRUE(wr.left == 0 && wr.top == 0 && wr.right == 1920 && wr.bottom == 1080);
  EXPECT_TRUE(pr.left == 10 && pr.top == 10 && pr.right == 159 && pr.bottom == 75);  // 149 x 65
  for (const wchar_t* t : {L"mirrun", L"保存为图片", L"退出", L"More"}) EXPECT_TRUE(FindChildByText(r.window, t));

  // Frozen: the live window beneath turns magenta, the ruler still shows
  // the screen as it was, everywhere but on its panel.
  PostMessageW(target.hwnd, WM_APP, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(target.hwnd) == L"capture target: switched"; }));
  Settle(200);
  Image now = CaptureScreen();
  size_t changed = 0;
  for (int y = 0; y < now.height; ++y)
    for (int x = 0; x < now.width; ++x)
      if (!(x >= pr.left && x < pr.right && y >= pr.top && y < pr.bottom)) changed += now.at(x, y) != before.at(x, y);
  EXPECT_EQ(changed, 0u);
  EXPECT_EQ(Pixel(1600, 775), Rgb(0, 160, 0));

  // A level drag of 100 pixels: the line with a tick across each end and
  // "101px" at its middle, and the live label beside the pointer.
  ASSERT_TRUE(DrawLine({700, 650}, {750, 650}, {800, 650}, {800, 645}));
  for (POINT p : {POINT{700, 650}, {749, 650}, {800, 650}, {700, 645}, {700, 655}, {800, 655}})
    EXPECT_EQ(Pixel(p.x, p.y), kRed) << p.x << "," << p.y;
  EXPECT_TRUE(Pixel(700, 644) != kRed && Pixel(801, 650) != kRed);
  EXPECT_TRUE(LabelReads(750, 650, L"101px"));
  EXPECT_TRUE(LabelReads(817, 667, L"101px"));
  EXPECT_TRUE(MoveUntil({900, 620}, [] { return LabelShows(917, 637, L"101px"); }));
  // A steep drag snaps to the vertical through its start.
  ASSERT_TRUE(DrawLine({1030, 480}, {1033, 560}, {1040, 680}, {1035, 680}));
  for (POINT p : {POINT{1030, 480}, {1030, 579}, {1030, 680}, {1025, 480}}) EXPECT_EQ(Pixel(p.x, p.y), kRed) << p.y;
  EXPECT_NE(Pixel(1040, 680), kRed);
  EXPECT_TRUE(LabelReads(1030, 580, L"201px"));

  // Arrow keys nudge the pointer by one pixel.
  MoveTo(600, 320);
  Tap(VK_RIGHT);
  EXPECT_TRUE(WaitUntil([] { return CursorPos().x == 601; }, 2000));
  Tap(VK_UP);
  EXPECT_TRUE(WaitUntil([] { return CursorPos().y == 319; }, 2000));

  // The magnifier: the white block four times as large, the red cross-hair
  // XORed onto it (cyan) except where its bars cross on the pointer's pixel;
  // off the picture the yellow background.
  const int mx = pr.left, my = pr.top;
  ASSERT_TRUE(MoveUntil({950, 180}, [&] { return Pixel(mx + 5, my + 5) == Rgb(255, 255, 255); }));
  EXPECT_EQ(Pixel(mx + 29, my + 12), Rgb(0, 255, 255));
  EXPECT_EQ(Pixel(mx + 12, my + 30), Rgb(0, 255, 255));
  EXPECT_EQ(Pixel(mx + 29, my + 29), Rgb(255, 255, 255));
  EXPECT_TRUE(MoveUntil({0, 0}, [&] { return Pixel(mx + 3, my + 3) == Rgb(255, 255, 0); }));

  // The panel follows a drag of its body.
  EXPECT_TRUE(DragUntil({mx + 20, my + 50}, {mx + 200, my + 200}, {mx + 420, my + 350}, [&] {
    RECT p = RectOf(Panel(r.window));
    return p.left == 410 && p.top == 310;
  }));

  // "More" opens the home page; "退出" ends the program.
  {
    BrowserStandIn browser;
    POINT more = r.Command(L"More");
    Click(more.x, more.y);
    EXPECT_TRUE(WaitUntil([&] { return browser.Opened().find(L"https://vardo.example.com/mirrun") != std::wstring::npos; }));
    // The browser runs on its own; let its window come and go before clicking on.
    WaitUntil([] { return FindWindowW(nullptr, L"probe") != nullptr; }, 3000);
    EXPECT_TRUE(WaitUntil([] { return !FindWindowW(nullptr, L"probe"); }));
  }
  EXPECT_TRUE(r.process.Running());
  POINT quit = r.Command(L"退出");
  Click(quit.x, quit.y);
  EXPECT_TRUE(r.process.WaitExit(3000));
}

TEST(Mirrun, LabelsMoveAndTheMenuRecoloursAndDeletesTheirLines) {
  MoveTo(960, 540);
  Settle(100);
  const Image before = CaptureRect(250, 580, 300, 100);
  Ruler r;
  ASSERT_TRUE(r.window);
  ASSERT_TRUE(DrawLine({300, 600}, {400, 602}, {500, 604}, {500, 595}));
  ASSERT_TRUE(LabelReads(400, 600, L"201px"));

  // Held, the segment turns blue (the ticks do not); the label alone moves.
  EXPECT_TRUE(DragUntil({405, 605}, {430, 630}, {455, 655}, [] {
    return LabelShows(450, 650, L"201px") && Pixel(350, 600) == kBlue && Pixel(300, 595) == kRed;
  }));
  EXPECT_TRUE(WaitUntil([] { return Pixel(350, 600) == kRed; }, 2000));
  EXPECT_EQ(Pixel(420, 600), kRed);  // the line shows where the label was

  // Every colour of "测量线颜色" recolours segment, ticks and text.
  const uint32_t colours[] = {kRed, kBlue, Rgb(0, 255, 0), Rgb(255, 255, 0), 0, Rgb(255, 255, 255)};
  for (int n : {1, 2, 3, 5, 0, 4}) {
    SCOPED_TRACE(n);
    ChooseColour(455, 655, n);
    EXPECT_TRUE(WaitUntil([&] { return Pixel(350, 600) == colours[n]; }, 2000));
    EXPECT_EQ(Pixel(500, 595), colours[n]);
    EXPECT_TRUE(LabelReads(450, 650, L"201px", colours[n]));
  }
  // After "黑" new lines are black.
  ASSERT_TRUE(DrawLine({1200, 700}, {1250, 701}, {1300, 701}, {1300, 695}, 0));
  EXPECT_TRUE(LabelReads(1250, 700, L"101px", 0));
  // "删除" takes the line, its ticks and label away; the other line stays.
  DeleteLine(455, 655);
  // (The live label goes with the pointer.)
  EXPECT_TRUE(MoveUntil({1600, 300}, [&] { return CountDifferent(CaptureRect(250, 580, 300, 100), before) == 0; }));
  EXPECT_TRUE(LabelReads(1250, 700, L"101px", 0));
}

TEST(Mirrun, At144DpiTheChromeScalesAndLengthsStayPhysicalPixels) {
  ScopedDpi dpi(144);
  Ruler r;
  ASSERT_TRUE(r.window);
  RECT pr = RectOf(Panel(r.window));
  EXPECT_EQ(pr.right - pr.left, 224);  // 2235 x 975 twips
  EXPECT_EQ(pr.bottom - pr.top, 98);
  ASSERT_TRUE(DrawLine({700, 650}, {750, 651}, {800, 652}, {800, 642}));
  EXPECT_EQ(Pixel(700, 642), kRed);  // ticks of 80 twips: 8 pixels
  EXPECT_NE(Pixel(700, 641), kRed);
  EXPECT_TRUE(LabelReads(750, 650, L"101px", kRed, 144));
  EXPECT_TRUE(LabelReads(825, 677, L"101px", kRed, 144));  // 250 twips from the pointer
}

}  // namespace
}  // namespace e2e::mirrun
