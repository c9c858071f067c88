// Shared steps of the capture overlay's end-to-end tests: Vardo started
// from a private folder, the overlay opened from the handle's menu, slow
// real drags, the overlay's child windows and a coloured target window.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "harness_win.h"

namespace e2e {

constexpr uint32_t kTargetColour = 0x00A000;
constexpr uint32_t kTargetSwitched = 0xC800C8;

struct Sel {
  int left, top, width, height;
};

inline int DimmedChannel(int v) { return v * 85 / 255; }
inline uint32_t Dimmed(uint32_t c) { return Rgb(DimmedChannel(R(c)), DimmedChannel(G(c)), DimmedChannel(B(c))); }

inline uint32_t Highlight() {
  COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A coloured helper window at a known place (tests/tools/capture_target).
class Target {
 public:
  Target(int x, int y, int w, int h, bool transient = false) {
    wchar_t args[128];
    swprintf(args, 128, L"%d %d %d %d 00A000 C800C8%ls", x, y, w, h, transient ? L" transient" : L"");
    proc_ = Process(TestsDir() + L"\\tools\\capture_target.exe", args);
    hwnd_ = WaitForTitle(proc_.pid(), L"capture target", 10000);
  }
  HWND hwnd() const { return hwnd_; }
  // Switches the live window to its second colour and waits until it shows.
  bool Switch() {
    PostMessageW(hwnd_, WM_APP, 0, 0);
    return WaitUntil([&] { return TextOf(hwnd_) == L"capture target: switched"; }, 3000);
  }

 private:
  Process proc_;
  HWND hwnd_ = nullptr;
};

class CaptureOverlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileTo(OutDir() + L"\\Vardo.exe", dir_ / L"Vardo.exe"));
    vardo_ = Process(dir_ / L"Vardo.exe", L"", dir_.path());
    ASSERT_TRUE(vardo_.started());
    layer_ = WaitForTitle(vardo_.pid(), L"afterdoch", 10000);
    ASSERT_TRUE(layer_) << "the pin layer did not appear";
    // The settings window comes up after the layer, later still on a cold
    // start; the tests' reference pictures are taken once it shows, outline
    // and all, or a capture would freeze a window they have not seen.
    HWND settings = WaitForTitle(vardo_.pid(), L"Form1", 10000);
    ASSERT_TRUE(settings) << "the settings window did not appear";
    ASSERT_TRUE(WaitUntil([&] {
      const RECT r = RectOf(settings);
      const Image row = CaptureRect(r.left, (r.top + r.bottom) / 2, r.right - r.left, 1);
      for (int x = 0; x < row.width; ++x)
        if (row.at(x, 0) == Rgb(0, 192, 192)) return true;
      return false;
    }, 10000)) << "the settings window's outline did not show";
    Settle(300);
  }
  virtual int Dpi() const { return 96; }
  int Scaled(int px96) const { return (px96 * Dpi() + 48) / 96; }

  // The handle's menu, first item "截图". The handle is 36 px square, 33 px
  // from the layer's top and right edges (at 96 DPI).
  POINT HandleCentre() const {
    const RECT layer = RectOf(layer_);
    const int side = Scaled(36);
    return {layer.right - Scaled(33) - side / 2, layer.top + Scaled(33) + side / 2};
  }
  HWND OpenOverlay() {
    const POINT handle = HandleCentre();
    RightClick(handle.x, handle.y);
    if (!WaitUntil([] { return MenuOpen(); }, 3000)) return nullptr;
    Settle(50);
    Tap(VK_DOWN);
    Settle(50);
    Tap(VK_RETURN);
    HWND o = WaitForOverlay(nullptr);
    // Leave the handle's corner: under Wine a late pointer event from the
    // menu can otherwise put the cursor back there for a moment.
    MoveTo(960, 1000);
    Settle(300);
    return o;
  }
  // The handle's menu takes Vardo's focus from the settings window, whose
  // focused button is then painted plain. Opening and closing it once
  // before a reference picture is taken makes the screen look as the
  // capture, always started from that menu here, will freeze it.
  bool FocusAsTheMenuLeavesIt() {
    const POINT handle = HandleCentre();
    RightClick(handle.x, handle.y);
    if (!WaitUntil([] { return MenuOpen(); }, 3000)) return false;
    Tap(VK_ESCAPE);
    if (!WaitUntil([] { return !MenuOpen(); }, 3000)) return false;
    // Until two pictures 100 ms apart agree.
    Image before = CaptureScreen();
    return WaitUntil([&] {
      Settle(100);
      Image now = CaptureScreen();
      const bool same = now.px == before.px;
      before = std::move(now);
      return same;
    }, 3000);
  }
  // A visible overlay window other than `not_this`.
  HWND WaitForOverlay(HWND not_this, DWORD timeout = 5000) {
    return WaitForWindow(vardo_.pid(), [&](HWND w) {
      return w != not_this && IsWindowVisible(w) && ClassOf(w) == L"VardoScrShot";
    }, timeout);
  }
  HWND Overlay() const { return FindWindowW(L"VardoScrShot", nullptr); }
  // Control+Shift+C pressed until an overlay other than `previous` shows,
  // then released; returns the new overlay.
  HWND Recapture(HWND previous) {
    KeyDown(VK_CONTROL);
    KeyDown(VK_SHIFT);
    KeyDown('C');
    HWND next = WaitForOverlay(previous, 3000);
    KeyUp('C');
    KeyUp(VK_SHIFT);
    KeyUp(VK_CONTROL);
    return next;
  }
  HWND Toolbar() const { return FindWindowExW(Overlay(), nullptr, L"VardoCaptureTools", nullptr); }
  // Where the magnifier (130 x 161, design pixels) belongs for a cursor at
  // (x, y): 20 px below-right, flipped where the cursor is past the screen
  // size less the panel plus 20.
  RECT MagnifierFor(int x, int y) const {
    const int w = Scaled(130), h = Scaled(161), gap = Scaled(20);
    const SIZE s = ScreenSize();
    const int left = x <= s.cx - w + gap ? x + gap : x - w - gap;
    const int top = y <= s.cy - h + gap ? y + gap : y - h - gap;
    return RECT{left, top, left + w, top + h};
  }
  // Whether the magnifier is painted at `m`: below the view, both ends of
  // its readout rows show the panel's grey.
  bool MagnifierAt(const RECT& m) const {
    // (It may overhang the screen's edges.)
    const int top = m.top + Scaled(130), rows = std::min<int>(m.bottom, ScreenSize().cy) - top;
    for (int x : {static_cast<int>(m.left), static_cast<int>(m.right) - 1}) {
      if (x < 0 || x >= ScreenSize().cx) continue;
      const Image column = CaptureRect(x, top, 1, rows);
      for (uint32_t p : column.px)
        if (p != Rgb(64, 64, 64)) return false;
    }
    return true;
  }
  // The magnifier's readouts, which the overlay gives as its text: the
  // size (k = 0) and the colour (k = 1).
  std::wstring Readout(int k) const {
    const std::wstring text = TextOf(Overlay());
    const size_t nl = text.find(L'\n');
    if (nl == std::wstring::npos) return L"";
    return k == 0 ? text.substr(0, nl) : text.substr(nl + 1);
  }
  // Rests the cursor at (x, y), out of the way of what a test looks at; the
  // magnifier follows it there.
  void Park(int x, int y) {
    MoveTo(x, y);
    EXPECT_TRUE(WaitUntil([&] { return MagnifierAt(MagnifierFor(x, y)); }, 3000)) << "magnifier at " << x << "," << y;
  }

  // A drag with time for the overlay to take in every move before the
  // release, as a hand would give it.
  static void DragSlowly(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    Settle(60);
    MoveTo(x0, y0);
    Settle(40);
    LeftDown();
    ::Sleep(40);
    for (int i = 1; i <= 16; ++i) {
      MoveTo(x0 + (x1 - x0) * i / 16, y0 + (y1 - y0) * i / 16);
      ::Sleep(15);
    }
    Settle(150);
    LeftUp();
    Settle(250);
  }

  // Clicks the middle of the toolbar's child that shows or tips `text`.
  bool ClickTool(const std::wstring& text) {
    HWND c = Toolbar() ? FindChildByText(Toolbar(), text) : nullptr;
    if (!c) return false;
    const RECT r = RectOf(c);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return true;
  }
  // A visible dialog or message box of Vardo's.
  HWND WaitForDialog(const std::function<bool(HWND)>& also, DWORD timeout = 5000) {
    return WaitForWindow(vardo_.pid(), [&](HWND w) { return ClassOf(w) == L"#32770" && IsWindowVisible(w) && also(w); },
                         timeout);
  }

  TempDir dir_{L"capture"};
  Process vardo_;
  HWND layer_ = nullptr;
};

class CaptureOverlayAt144Dpi : public CaptureOverlay {
 protected:
  int Dpi() const override { return 144; }
  ScopedDpi dpi_{144};
};

}  // namespace e2e
