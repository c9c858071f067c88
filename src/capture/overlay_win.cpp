#include "capture/overlay_win.h"

#include <system_error>

#include "capture/dimming_win.h"
#include "capture/freeze_win.h"
#include "capture/overlay_window_win.h"
#include "common/dpi_win.h"

namespace vardo {

namespace {

// A capture opened this soon after one closed is taken of a screen that
// was under the closed one.
constexpr ULONGLONG kRecentCloseMs = 2000;

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
  hotkey_latch_ = false;
  // The primary screen's DPI as it is now, read off the layer that covers
  // it: the system DPI stays what it was at sign-in when the scaling is
  // changed or another screen becomes the primary one.
  dpi_ = DpiOf(host.LayerWindow());
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  const int hs = Scale(kHandleSize, dpi_);
  model_.emplace(capture::Size{w, h}, capture::Size{hs, hs});
  prep_ = Prep::Waiting;
  tools_attached_ = shown_once_ = built_ = false;
  plain_ = surface_stale_ = true;

  // The windows and the screen are taken before anything of ours shows,
  // or takes the foreground: a menu or list of another program that closes
  // when it loses the foreground is in the frozen picture and among the
  // windows a click selects.
  // Just after a capture (Control+Shift+C, or a new request with one open)
  // every window on the screen was under ours.
  RepaintUncoveredWindows(closed_at_ && GetTickCount64() - closed_at_ < kRecentCloseMs);
  candidates_ = GatherCandidateWindows(kClassName, host.LayerWindow());
  if (!FreezeScreen(pic_b_, w, h)) {
    Unload();
    return false;
  }
  GdiFlush();  // the worker reads the pixels
  if (!Window::RegisterClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW))) {
    Unload();
    return false;
  }
  if (!Window::Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, w, h)) {
    Unload();
    return false;
  }
  // The worker reads only the frozen picture, which nothing changes now.
  prepared_ready_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!prepared_ready_) {
    Unload();
    return false;
  }
  try {
    worker_ = std::thread([this, overlay = hwnd()] {
      worker_ok_ = MakeDimmedCopy(pic_b_, pic_dim_) && surface_.CreateDib(pic_b_.width(), pic_b_.height());
      GdiFlush();
      SetEvent(prepared_ready_.get());
      PostMessageW(overlay, kMsgPrepared, 0, 0);
      gdiplus_.emplace();
    });
  } catch (const std::system_error&) {
    Unload();
    return false;
  }
  ShowWindow(hwnd(), SW_SHOW);
  // The magnifier is part of the first paint, not of putting the window up.
  va_.Create(dpi_, capture::Size{w, h});
  POINT cursor{};
  GetCursorPos(&cursor);
  UpdateMagnifier(capture::Point{cursor.x, cursor.y});
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
  shown_once_ = true;
  SetTimer(hwnd(), kPosTimer, 50, nullptr);
  SetTimer(hwnd(), kHotKeyTimer, 100, nullptr);
  // Ahead of any input in the queue; anything sent earlier builds it first.
  PostMessageW(hwnd(), kMsgFinishOpen, 0, 0);
  return true;
}

void OverlayWindow::FinishOpen() {
  if (built_ || !shown_once_ || !hwnd()) return;
  built_ = true;
  toolbar_.Create(hwnd(), dpi_);
  text_.Create(hwnd(), dpi_);
  OnToolStyle();
}

bool OverlayWindow::AwaitPrepared() {
  if (prep_ == Prep::Waiting) {
    if (!prepared_ready_ || !worker_.joinable()) {
      prep_ = Prep::Failed;
    } else {
      WaitForSingleObject(prepared_ready_.get(), INFINITE);
      if (worker_ok_) {
        prep_ = Prep::Ready;
      } else {
        prep_ = Prep::Failed;
        // Too little memory for the copies: end the capture and give the
        // layer back (from the message loop, not from inside a handler).
        if (hwnd()) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      }
    }
  }
  return prep_ == Prep::Ready;
}

void OverlayWindow::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

void OverlayWindow::AwaitGdiplus() {
  if (!AwaitPrepared()) return;
  JoinWorker();
  if (!tools_attached_ && hwnd()) {
    tools_.Attach(hwnd(), surface_, pic_b_);
    tools_attached_ = true;
  }
}

void OverlayWindow::Unload() {
  if (hwnd()) {
    if (IsWindowVisible(hwnd())) closed_at_ = GetTickCount64();
    KillTimer(hwnd(), kPosTimer);
    KillTimer(hwnd(), kHotKeyTimer);
    if (GetCapture() == hwnd()) ReleaseCapture();
    Destroy();
  }
  // The worker uses the pictures and starts GDI+: let it end first.
  JoinWorker();
  prepared_ready_.reset();
  tools_.Detach();
  tools_attached_ = false;
  text_.Destroy();
  model_.reset();
  candidates_.clear();
  surface_.Reset();
  pic_b_.Reset();
  pic_dim_.Reset();
  gdiplus_.reset();
  shown_once_ = built_ = false;
}

void OpenCaptureOverlay(OverlayHost& host) {
  if (!TheOverlay().Open(host)) {
    // Nothing to show: give the user the pin layer back.
    host.ShowLayer();
  }
}

void UnloadCaptureOverlay() { TheOverlay().Unload(); }

bool CaptureOverlayLoaded() { return TheOverlay().loaded(); }

bool BringCaptureDialogForward() {
  HWND overlay = TheOverlay().hwnd();
  // A modal dialog disables the window it belongs to.
  if (!overlay || IsWindowEnabled(overlay)) return false;
  HWND popup = GetLastActivePopup(overlay);
  if (popup && popup != overlay) SetForegroundWindow(popup);
  return true;
}

}  // namespace vardo
