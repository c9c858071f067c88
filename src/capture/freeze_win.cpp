#include "capture/freeze_win.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace vardo {

namespace {

constexpr DWORD kOtherProgramsBudgetMs = 200;

BOOL CALLBACK CollectVisible(HWND wnd, LPARAM lp) {
  if (IsWindowVisible(wnd)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(wnd);
  return TRUE;
}

// Under Wine windows are closed on one connection to the X display and the
// screen is read on another, and every program puts back the parts of its
// windows that ours uncovered itself. Windows composes the screen.
bool WithoutCompositor() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

// Gives the programs of the other visible top-level windows time to put
// back what ours covered: each is sent three messages in turn, within
// `budget_ms` in all. The first returns once it has taken its pending
// display events, the next once it has painted, the last once it has
// waited for more, which is when its picture goes to the display. A hung
// or busy program only costs the budget.
void AwaitOtherPrograms(DWORD budget_ms) {
  std::vector<HWND> top;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&top));
  const DWORD self = GetCurrentProcessId();
  std::vector<DWORD> seen;
  std::vector<HWND> one_each;
  for (HWND w : top) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (!pid || pid == self || std::find(seen.begin(), seen.end(), pid) != seen.end()) continue;
    seen.push_back(pid);
    one_each.push_back(w);
  }
  const ULONGLONG deadline = GetTickCount64() + budget_ms;
  for (int round = 0; round < 3; ++round) {
    for (HWND w : one_each) {
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) return;
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(deadline - now), &ignored);
    }
  }
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

void RepaintUncoveredWindows(bool whole_screen) {
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
  if (!WithoutCompositor()) return;
  if (whole_screen) AwaitOtherPrograms(kOtherProgramsBudgetMs);
  // The wait above sent our own windows' changes to the display on the
  // connection that manages them; the screen is read on another. A read
  // on that one now is answered only after the display has taken them,
  // so the copy that follows cannot see a window we have just closed.
  WindowDc screen(nullptr);
  if (screen) GetPixel(screen.get(), 0, 0);
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
