// In-process checks of the capture overlay: the dimming pass on a synthetic
// frozen picture, and the overlay's life with a fake pin layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "capture/dimming_win.h"
#include "capture/geometry.h"
#include "capture/overlay_win.h"
#include "capture/toolbar_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"

namespace vardo {
namespace {

uint32_t Pixel(const MemoryCanvas& c, int x, int y) {
  return static_cast<const uint32_t*>(c.bits())[static_cast<size_t>(y) * c.width() + x] & 0xFFFFFF;
}

int Dimmed(int v) { return v * 85 / 255; }

bool LooksDimmed(uint32_t got, uint32_t src) {
  for (int shift : {0, 8, 16}) {
    int g = (got >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    if (std::abs(g - Dimmed(s)) > 1) return false;
  }
  return true;
}

// A frozen picture with a different colour in every pixel neighbourhood.
void FillPattern(MemoryCanvas& c) {
  auto* px = static_cast<uint32_t*>(c.bits());
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      px[static_cast<size_t>(y) * c.width() + x] = ((x * 7) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x + y) & 0xFF);
}

// Windows keeps a bitmap that is deleted while selected into a DC, for the
// life of the process; every repaint through a canvas would leak one. (Wine
// defers such a delete instead, so there this passes either way.)
TEST(MemoryCanvasLife, FreesItsBitmapAndDcOnScopeExit) {
  WindowDc screen(nullptr);
  for (bool dib : {true, false}) {
    HBITMAP bmp = nullptr;
    HDC dc = nullptr;
    {
      MemoryCanvas c;
      ASSERT_TRUE(dib ? c.CreateDib(16, 16) : c.Create(screen.get(), 16, 16));
      bmp = c.bitmap();
      dc = c.dc();
    }
    EXPECT_EQ(GetObjectType(bmp), 0u) << (dib ? "DIB" : "compatible") << " bitmap left behind";
    EXPECT_EQ(GetObjectType(dc), 0u) << (dib ? "DIB" : "compatible") << " DC left behind";
  }
}

TEST(CaptureDimmingPass, DarkensExactlyTheBandsOutsideTheSelection) {
  const capture::Size size{1920, 1080};
  MemoryCanvas frozen, dimmed, target;
  ASSERT_TRUE(frozen.CreateDib(size.width, size.height));
  ASSERT_TRUE(target.CreateDib(size.width, size.height));
  FillPattern(frozen);
  ASSERT_TRUE(MakeDimmedCopy(frozen, dimmed));
  struct Case {
    capture::Rect sel;
    capture::Rect visible;  // what must stay undimmed
  } cases[] = {
      {{100, 50, 300, 200}, {100, 50, 300, 200}},
      {{-50, 900, 120, 400}, {0, 900, 70, 180}},  // partly off screen
      {{0, 0, 0, 0}, {0, 0, 0, 0}},               // nothing selected yet
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(DrawAlphaClip(target.dc(), frozen.dc(), dimmed.dc(), size, c.sel));
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < size.height; y += 3) {
      for (int x = 0; x < size.width; x += 3) {
        const uint32_t src = Pixel(frozen, x, y), got = Pixel(target, x, y);
        const bool inside = c.visible.Contains(capture::Point{x, y});
        if (inside ? got != src : !LooksDimmed(got, src)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << c.sel.left << "," << c.sel.top;
    // The edges themselves: first pixel inside, last pixel outside.
    if (!c.visible.Empty()) {
      const int l = c.visible.left, t = c.visible.top;
      EXPECT_EQ(Pixel(target, l, t), Pixel(frozen, l, t));
      if (l > 0) {
        EXPECT_TRUE(LooksDimmed(Pixel(target, l - 1, t), Pixel(frozen, l - 1, t)));
      }
      if (t > 0) {
        EXPECT_TRUE(LooksDimmed(Pixel(target, l, t - 1), Pixel(frozen, l, t - 1)));
      }
      const int r = c.visible.right(), b = c.visible.bottom();
      EXPECT_EQ(Pixel(target, r - 1, b - 1), Pixel(frozen, r - 1, b - 1));
      if (r < size.width) {
        EXPECT_TRUE(LooksDimmed(Pixel(target, r, b - 1), Pixel(frozen, r, b - 1)));
      }
      if (b < size.height) {
        EXPECT_TRUE(LooksDimmed(Pixel(target, r - 1, b), Pixel(frozen, r - 1, b)));
      }
    }
  }

  // Rough cost of one pass at 1080p (printed for the record).
  const int passes = 30;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < passes; ++i) DrawAlphaClip(target.dc(), frozen.dc(), dimmed.dc(), size, capture::Rect{i, 50, 900, 600});
  GdiFlush();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / passes;
  std::printf("dimming pass at 1920x1080: %.2f ms\n", ms);
  RecordProperty("dimming_pass_ms", static_cast<int>(ms * 1000));
}

// ---- the overlay with a fake pin layer ----------------------------------------

struct FakeLayer : OverlayHost {
  int shown = 0;
  int timer_calls = 0;
  void ShowLayer() override { ++shown; }
  void SetLayerTimer(bool) override { ++timer_calls; }
  bool AddImageFromClipboard() override { return true; }
  void BringLayerToTop() override {}
  bool PopupTextLabelMenu(HWND) override { return false; }
};

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(2);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_MOVE) {
    in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 16;
    in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 16;
  }
  SendInput(1, &in, sizeof(in));
  Pump(15);
}

void DragOnScreen(int x0, int y0, int x1, int y1) {
  SendMouse(MOUSEEVENTF_MOVE, x0, y0);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= 12; ++i) SendMouse(MOUSEEVENTF_MOVE, x0 + (x1 - x0) * i / 12, y0 + (y1 - y0) * i / 12);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(100);
}

HWND OverlayHwnd() { return FindWindowW(L"VardoScrShot", nullptr); }

class CaptureOverlayLife : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitProcess(); }
  void TearDown() override {
    UnloadCaptureOverlay();
    Pump(50);
  }
  FakeLayer layer;
};

TEST_F(CaptureOverlayLife, CoversThePrimaryScreenAboveEverything) {
  OpenCaptureOverlay(layer);
  Pump(100);
  ASSERT_TRUE(CaptureOverlayLoaded());
  HWND w = OverlayHwnd();
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION);
  // Opening again while loaded does not make a second overlay.
  OpenCaptureOverlay(layer);
  EXPECT_EQ(OverlayHwnd(), w);
  UnloadCaptureOverlay();
  EXPECT_FALSE(CaptureOverlayLoaded());
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(layer.shown, 0);
}

TEST_F(CaptureOverlayLife, ExitButtonClosesAndShowsTheLayerLeavingItsTimerAlone) {
  OpenCaptureOverlay(layer);
  Pump(100);
  DragOnScreen(300, 300, 700, 500);
  HWND tools = FindWindowExW(OverlayHwnd(), nullptr, L"VardoCaptureTools", nullptr);
  ASSERT_NE(tools, nullptr);
  ASSERT_TRUE(IsWindowVisible(tools));
  HWND exi = FindWindowExW(tools, nullptr, L"VardoCaptureExi", nullptr);
  ASSERT_NE(exi, nullptr);
  RECT r;
  GetWindowRect(exi, &r);
  SendMouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(200);
  EXPECT_FALSE(CaptureOverlayLoaded());
  EXPECT_EQ(layer.shown, 1);
  EXPECT_EQ(layer.timer_calls, 0);
}

TEST_F(CaptureOverlayLife, PressOnExitThenReleaseElsewhereDoesNotClose) {
  OpenCaptureOverlay(layer);
  Pump(100);
  DragOnScreen(300, 300, 700, 500);
  HWND exi = FindWindowExW(FindWindowExW(OverlayHwnd(), nullptr, L"VardoCaptureTools", nullptr), nullptr,
                           L"VardoCaptureExi", nullptr);
  ASSERT_NE(exi, nullptr);
  RECT r;
  GetWindowRect(exi, &r);
  SendMouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_MOVE, r.left - 40, r.bottom + 40);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(100);
  EXPECT_TRUE(CaptureOverlayLoaded());
  EXPECT_EQ(layer.shown, 0);
}

TEST_F(CaptureOverlayLife, CloseRequestFromOutsideGivesTheLayerBack) {
  OpenCaptureOverlay(layer);
  Pump(100);
  PostMessageW(OverlayHwnd(), WM_CLOSE, 0, 0);
  Pump(100);
  EXPECT_FALSE(CaptureOverlayLoaded());
  EXPECT_EQ(layer.shown, 1);
  // Alt+F4 is a key press; keys are ignored.
  OpenCaptureOverlay(layer);
  Pump(100);
  SendMessageW(OverlayHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump(50);
  EXPECT_TRUE(CaptureOverlayLoaded());
}

// What a check made from inside the save dialog's own loop found.
struct DialogProbe {
  bool seen = false, forward = false, overlay_kept = false;
  int ticks = 0;
} g_probe;

void CALLBACK ProbeSaveDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (!IsWindowVisible(w) || wcscmp(cls, L"#32770") != 0) return TRUE;
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  if (!dialog && ++g_probe.ticks < 200) return;
  KillTimer(nullptr, id);
  if (!dialog) return;
  g_probe.seen = true;
  g_probe.forward = BringCaptureDialogForward();
  g_probe.overlay_kept = OverlayHwnd() && IsWindowVisible(OverlayHwnd());
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(CaptureOverlayLife, ARequestWhileItsSaveDialogIsUpBringsTheDialogForwardAndKeepsTheCapture) {
  EXPECT_FALSE(BringCaptureDialogForward()) << "no capture";
  OpenCaptureOverlay(layer);
  Pump(100);
  DragOnScreen(300, 300, 700, 500);
  EXPECT_FALSE(BringCaptureDialogForward()) << "no dialog up";
  HWND tools = FindWindowExW(OverlayHwnd(), nullptr, L"VardoCaptureTools", nullptr);
  ASSERT_NE(tools, nullptr);
  HWND save = FindWindowExW(tools, nullptr, nullptr, L"另存为");
  ASSERT_NE(save, nullptr);
  RECT r;
  GetWindowRect(save, &r);
  g_probe = DialogProbe();
  SetTimer(nullptr, 0, 25, ProbeSaveDialog);
  SendMouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(300);
  ASSERT_TRUE(g_probe.seen) << "no save dialog";
  EXPECT_TRUE(g_probe.forward);
  EXPECT_TRUE(g_probe.overlay_kept);
  // Cancelled: the capture stays, and a request would now start anew.
  EXPECT_TRUE(CaptureOverlayLoaded());
  EXPECT_TRUE(IsWindowVisible(tools));
  EXPECT_FALSE(BringCaptureDialogForward());
}

}  // namespace
}  // namespace vardo
