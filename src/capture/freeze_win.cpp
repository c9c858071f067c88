#include "capture/freeze_win.h"

#include <cstring>
#include <cwchar>

namespace vardo {

namespace {

BOOL CALLBACK CollectVisible(HWND wnd, LPARAM lp) {
  if (IsWindowVisible(wnd)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(wnd);
  return TRUE;
}

bool HasClass(HWND w, const wchar_t* name) {
  wchar_t buf[64];
  const int n = GetClassNameW(w, buf, 64);
  return n > 0 && std::wcscmp(buf, name) == 0;
}

}  // namespace

std::vector<capture::WinRect> GatherCandidateWindows(const wchar_t* skip_class, HWND skip) {
  std::vector<HWND> top;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&top));
  std::vector<HWND> candidates;
  for (HWND w : top) {
    if (w == skip || (skip_class && HasClass(w, skip_class))) continue;
    EnumChildWindows(w, CollectVisible, reinterpret_cast<LPARAM>(&candidates));
    candidates.push_back(w);
  }
  std::vector<capture::WinRect> rects;
  rects.reserve(candidates.size());
  for (HWND w : candidates) {
    RECT r{};
    // A window that vanished meanwhile would give an empty rectangle at 0,0
    // that matches nothing useful; leave it out.
    if (!GetWindowRect(w, &r)) continue;
    rects.push_back(capture::WinRect{r.left, r.top, r.right, r.bottom});
  }
  return rects;
}

void RepaintUncoveredWindows() {
  // A read from the screen returns once the display has handled the
  // changes to our windows, so the repaints they cause are queued.
  {
    WindowDc screen(nullptr);
    if (screen) GetPixel(screen.get(), 0, 0);
  }
  MSG m;
  // Bounded: a window that never validates its update region would keep
  // answering with WM_PAINT.
  for (int i = 0; i < 256 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return;
    }
    DispatchMessageW(&m);
  }
  // Drawing that the platform keeps back until the thread is idle reaches
  // the screen in a wait; this one does not block.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_PAINT);
}

bool FreezeScreen(MemoryCanvas& out, int width, int height) {
  if (!out.CreateDib(width, height)) return false;
  WindowDc screen(nullptr);
  if (!screen) return false;
  return BitBlt(out.dc(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
}

bool CopyCanvas(const MemoryCanvas& from, MemoryCanvas& to) {
  if (!to.CreateDib(from.width(), from.height())) return false;
  GdiFlush();
  std::memcpy(to.bits(), from.bits(), static_cast<size_t>(from.width()) * from.height() * 4);
  return true;
}

}  // namespace vardo
