// Start-up benchmark: time from CreateProcess to the first visible window,
// Vardo (its settings window) against a minimal Win32 program that shows one
// window, alternating runs in the same session.
#include <windows.h>

#include <string>
#include <vector>

#include "bench_util_win.h"

namespace {

struct Found {
  DWORD pid;
  bool hit;
};

bool HasVisibleWindow(DWORD pid) {
  Found f{pid, false};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Found*>(lp);
        DWORD p = 0;
        GetWindowThreadProcessId(w, &p);
        if (p == f->pid && IsWindowVisible(w)) {
          RECT r{};
          GetWindowRect(w, &r);
          // The settings window (or the reference window): 391 x 145 at 96 DPI.
          if (r.right - r.left < 1000) {
            f->hit = true;
            return FALSE;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.hit;
}

// Milliseconds from CreateProcess to a visible window; -1 on failure.
double TimeStart(const std::wstring& exe) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  double t0 = bench::NowMs();
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  double t = -1;
  while (bench::NowMs() - t0 < 10000) {
    if (HasVisibleWindow(pi.dwProcessId)) {
      t = bench::NowMs() - t0;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(0);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  Sleep(100);
  return t;
}

}  // namespace

int wmain() {
  std::wstring here = bench::ExeFolder();
  std::wstring vardo = here.substr(0, here.find_last_of(L"\\/")) + L"\\Vardo.exe";
  std::wstring minimal = here + L"\\bench_minimal_window.exe";
  // Warm the file cache and the server for both.
  TimeStart(vardo);
  TimeStart(minimal);
  std::vector<double> ours, ref;
  for (int i = 0; i < 10; ++i) {
    double a = TimeStart(vardo);
    double b = TimeStart(minimal);
    if (a >= 0 && b >= 0) {
      ours.push_back(a);
      ref.push_back(b);
    }
  }
  if (ours.empty()) {
    std::printf("start-up: no run completed\n");
    return 1;
  }
  bench::PrintRatio("start -> settings window visible", ours, "minimal Win32 window", ref);
  return 0;
}
