// Shared steps of the kestil end-to-end tests: start the picker, find its
// panel and readouts, make callouts with real input, drive popup menus.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness_win.h"

namespace e2e::kestil {

inline std::wstring Exe() { return OutDir() + L"\\apps\\kestil.exe"; }

inline bool IsPicker(HWND w) { return ClassOf(w) == L"kestil.colorForm1" && IsWindowVisible(w); }

inline HWND FindPicker(DWORD pid, DWORD timeout_ms = 8000) {
  return WaitForWindow(pid, [](HWND w) { return IsPicker(w); }, timeout_ms);
}

inline HWND ChildStartingWith(HWND parent, const std::wstring& prefix) {
  for (HWND c : ChildWindows(parent, false))
    if (TextOf(c).rfind(prefix, 0) == 0) return c;
  return nullptr;
}

inline HWND Panel(HWND picker) { return FindChildByClass(picker, L"kestil.panel"); }

// Waits for a readout to show exactly `want`.
inline bool WaitForReadout(HWND picker, const std::wstring& prefix, const std::wstring& want, DWORD ms = 3000) {
  return WaitUntil([&] {
    HWND r = ChildStartingWith(picker, prefix);
    return r && TextOf(r) == want;
  }, ms);
}
// Points at (x, y) until the picker's readout shows `hex`: a move that
// arrives while a new window is still being mapped can be lost.
inline bool PointAt(HWND picker, int x, int y, const std::wstring& hex, DWORD ms = 3000) {
  const DWORD start = GetTickCount();
  for (int i = 0; GetTickCount() - start < ms; ++i) {
    MoveTo(i % 2 ? x + 1 : x, y);
    MoveTo(x, y);
    if (WaitForReadout(picker, L"HEX", hex, 300)) return true;
  }
  return false;
}
inline std::wstring Readout(HWND picker, const std::wstring& prefix) {
  HWND r = ChildStartingWith(picker, prefix);
  return r ? TextOf(r) : L"";
}

// The program's hidden menu window (owner of the notification-area icon).
inline HWND MenuWindow(DWORD pid) {
  for (HWND w : TopWindows(pid, false))
    if (ClassOf(w) == L"kestil.colorForm2") return w;
  return nullptr;
}

// Ends kestil the way the session would (WM_CLOSE to its menu window), so
// its icon does not stay behind for the next test; kills it if it hangs.
inline void EndKestil(Process& p) {
  if (!p.Running()) return;
  if (HWND w = MenuWindow(p.pid())) PostMessageW(w, WM_CLOSE, 0, 0);
  if (!p.WaitExit(3000)) p.Kill();
}

// A started kestil with its picker shown.
struct Picker {
  Process process;
  HWND window = nullptr;
  explicit Picker(const std::wstring& exe = Exe()) : process(exe) {
    window = FindPicker(process.pid());
    // Pointer moves reach the picker only once the display has mapped it:
    // point at a known white pixel (below the panel at any DPI) until the
    // readout follows, then return.
    if (window) {
      const POINT was = CursorPos();
      EXPECT_TRUE(PointAt(window, 900, 240, L"HEX: #FFFFFF", 5000));
      MoveTo(was.x, was.y);
      Sleep(50);
    }
  }
  ~Picker() { EndKestil(process); }
  Picker(const Picker&) = delete;
  Picker& operator=(const Picker&) = delete;
};

// Wine's own notification area (no taskbar on the test display).
inline HWND WineTray() { return FindWindowW(nullptr, L"Wine System Tray"); }
// kestil's icon: the first one in Wine's notification area.
inline POINT TrayIconPoint() { return POINT{12, 32}; }

// Press, move through `points` with pauses longer than the 100 ms direction
// tick, release: the callout is laid out for the final direction.
inline void SlowDrag(POINT from, const std::vector<POINT>& points, DWORD pause_ms = 160) {
  MoveTo(from.x, from.y);
  Sleep(60);
  LeftDown();
  Sleep(pause_ms);
  for (POINT p : points) {
    MoveTo(p.x, p.y);
    Sleep(pause_ms);
  }
  // One more move at the end, after a tick has seen the final position.
  POINT last = points.back();
  MoveTo(last.x, last.y);
  Sleep(pause_ms);
  LeftUp();
  Sleep(150);
}

inline uint32_t ScreenPixel(int x, int y) { return CaptureRect(x, y, 1, 1).px[0]; }

// Chooses the n-th item (0-based) of the open menu with the keyboard.
inline void ChooseMenuItem(int n) {
  for (int i = 0; i <= n; ++i) {
    Tap(VK_DOWN);
    Sleep(40);
  }
  Tap(VK_RETURN);
  Sleep(200);
}

}  // namespace e2e::kestil
