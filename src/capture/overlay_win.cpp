#include "capture/overlay_win.h"

#include "capture/dimming_win.h"
#include "capture/freeze_win.h"
#include "capture/overlay_window_win.h"
#include "common/dpi_win.h"

namespace vardo {

namespace {

// One overlay per process; it lives for the whole run and its window is
// created for each capture.
OverlayWindow& TheOverlay() {
  static OverlayWindow overlay;
  return overlay;
}

}  // namespace

bool OverlayWindow::Open(OverlayHost& host) {
  if (loaded()) return true;
  host_ = &host;
  gdiplus_.emplace();
  hotkey_latch_ = false;
  dpi_ = ScreenDpi();
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  const int hs = Scale(kHandleSize, dpi_);
  model_.emplace(capture::Size{w, h}, capture::Size{hs, hs});

  // Freeze before anything of ours is visible.
  candidates_ = GatherCandidateWindows();
  if (!FreezeScreen(pic_b_, w, h) || !MakeDimmedCopy(pic_b_, pic_dim_) || !surface_.CreateDib(w, h)) {
    Unload();
    return false;
  }
  if (!Window::RegisterClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW))) {
    Unload();
    return false;
  }
  if (!Window::Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, w, h)) {
    Unload();
    return false;
  }
  toolbar_.Create(hwnd(), dpi_);
  va_.Create(dpi_, capture::Size{w, h});
  tools_.Attach(hwnd(), surface_, pic_b_);
  text_.Create(hwnd(), dpi_);
  OnToolStyle();
  Redraw();
  POINT cursor{};
  GetCursorPos(&cursor);
  UpdateMagnifier(capture::Point{cursor.x, cursor.y});
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
  SetTimer(hwnd(), kPosTimer, 50, nullptr);
  SetTimer(hwnd(), kHotKeyTimer, 100, nullptr);
  return true;
}

void OverlayWindow::Unload() {
  if (hwnd()) {
    KillTimer(hwnd(), kPosTimer);
    KillTimer(hwnd(), kHotKeyTimer);
    if (GetCapture() == hwnd()) ReleaseCapture();
    Destroy();
  }
  tools_.Detach();
  text_.Destroy();
  model_.reset();
  candidates_.clear();
  surface_.Reset();
  pic_b_.Reset();
  pic_dim_.Reset();
  gdiplus_.reset();
}

void OpenCaptureOverlay(OverlayHost& host) {
  if (!TheOverlay().Open(host)) {
    // Nothing to show: give the user the pin layer back.
    host.ShowLayer();
  }
}

void UnloadCaptureOverlay() { TheOverlay().Unload(); }

bool CaptureOverlayLoaded() { return TheOverlay().loaded(); }

}  // namespace vardo
