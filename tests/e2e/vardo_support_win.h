// Shared steps of Vardo's end-to-end tests: starting the program (from the
// output folder or from a copy laid out in a temporary folder) and finding
// its windows.
#pragma once
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "harness_win.h"

namespace e2e::vardo {

struct Running {
  Process process;
  HWND layer = nullptr;     // "afterdoch"
  HWND settings = nullptr;  // "Form1"
  RECT handle{};            // the handle tile as seen on the screen
};

// Bounding box of the pure white pixels in an area of the screen: the
// handle tile is white inside its dashed outline, right to its edges.
inline std::optional<RECT> WhiteBox(int x, int y, int w, int h) {
  Image img = CaptureRect(x, y, w, h);
  RECT box{w, h, -1, -1};
  for (int j = 0; j < img.height; ++j)
    for (int i = 0; i < img.width; ++i)
      if (img.at(i, j) == Rgb(255, 255, 255)) {
        box.left = std::min<LONG>(box.left, i);
        box.top = std::min<LONG>(box.top, j);
        box.right = std::max<LONG>(box.right, i + 1);
        box.bottom = std::max<LONG>(box.bottom, j + 1);
      }
  if (box.right < 0) return std::nullopt;
  OffsetRect(&box, x, y);
  return box;
}

// The handle tile near the top-right corner (where the desktop picture has
// no white).
inline std::optional<RECT> HandleNearTopRight() { return WhiteBox(1500, 0, 420, 300); }

// Starts `exe` and waits until the layer, the settings window and the
// handle are up.
inline Running Start(const std::wstring& exe) {
  Running r;
  r.process = Process(exe);
  if (!r.process.started()) return r;
  DWORD pid = r.process.pid();
  r.layer = WaitForWindow(pid, [](HWND w) { return TextOf(w) == L"afterdoch" && IsWindowVisible(w); }, 10000);
  r.settings = WaitForWindow(pid, [](HWND w) { return TextOf(w) == L"Form1" && IsWindowVisible(w); }, 10000);
  Settle(200);
  std::optional<RECT> h;
  if (r.layer) WaitUntil([&] { return (h = HandleNearTopRight()).has_value(); }, 5000);
  if (h) r.handle = *h;
  return r;
}

inline std::wstring VardoExe() { return OutDir() + L"\\Vardo.exe"; }

// A copy of Vardo.exe in `dir`; with `with_tools`, probe.exe copied to
// apps\kestil.exe and apps\mirrun.exe beside it.
inline std::wstring LayOut(const TempDir& dir, bool with_tools) {
  std::wstring exe = dir / L"Vardo.exe";
  CopyFileTo(VardoExe(), exe);
  if (with_tools) {
    CreateDirectoryW((dir / L"apps").c_str(), nullptr);
    std::wstring probe = OutDir() + L"\\tests\\tools\\probe.exe";
    CopyFileTo(probe, dir / L"apps\\kestil.exe");
    CopyFileTo(probe, dir / L"apps\\mirrun.exe");
  }
  return exe;
}

inline RECT ClientOnScreen(HWND w) {
  RECT c{};
  GetClientRect(w, &c);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
  return c;
}

// A child's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND child) {
  RECT r = RectOf(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline HWND VisiblePopupMenu(DWORD pid) {
  for (HWND w : TopWindows(pid, true))
    if (ClassOf(w) == L"#32768") return w;
  return nullptr;
}

// Makes sure a press at `p` reaches `w`. On Windows the layer's key colour
// lets it through; Wine routes the press by window rectangles and hands it
// to the layer, so there the window is lifted above the layer first.
inline void ReachableAt(HWND w, POINT p) {
  for (int i = 0; i < 10; ++i) {
    HWND at = WindowFromPoint(p);
    if (at == w || IsChild(w, at)) return;
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Settle(50);
  }
}

inline POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace e2e::vardo
