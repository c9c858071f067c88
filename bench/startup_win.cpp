// Start-up benchmark: time from CreateProcess to the first visible window,
// Vardo (its settings window) against a minimal Win32 program that shows one
// window, alternating runs in the same session. Then the idle memory of
// both once they are up (Vardo with its layer and settings window): the
// resident size of the Wine process on Linux, read from /proc under Wine.
// A second reference shows a full-screen colour-keyed layer first and puts
// common-controls-6 buttons in its window: what the start-up order and the
// visual styles cost before any of Vardo's own work.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
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
    // Not a busy loop: on two cores it took a core and kept the Wine server
    // busy while the program under test started, slowing it the more the
    // more server requests it makes.
    Sleep(1);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  Sleep(100);
  return t;
}

// The Linux process whose command line names `exe` (a path no other
// process uses), read through Wine's drive for the root folder.
int UnixPidOf(const std::wstring& exe) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(L"Z:\\proc\\*", &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  const std::string want(exe.begin(), exe.end());  // ASCII temp paths
  int found = 0;
  do {
    const int pid = _wtoi(fd.cFileName);
    if (pid <= 0) continue;
    FILE* f = _wfopen((std::wstring(L"Z:\\proc\\") + fd.cFileName + L"\\cmdline").c_str(), L"rb");
    if (!f) continue;
    char buf[4096];
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    for (size_t i = 0; i < n; ++i)
      if (!buf[i]) buf[i] = ' ';
    buf[n] = 0;
    if (std::strstr(buf, want.c_str())) found = pid;
  } while (!found && FindNextFileW(h, &fd));
  FindClose(h);
  return found;
}

// VmRSS of a Linux process in MB; -1 when it cannot be read.
double ResidentMb(int pid) {
  FILE* f = _wfopen((L"Z:\\proc\\" + std::to_wstring(pid) + L"\\status").c_str(), L"r");
  if (!f) return -1;
  char line[256];
  double kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmRSS: %lf", &kb) == 1) break;
  std::fclose(f);
  return kb < 0 ? -1 : kb / 1024.0;
}

// Starts a private copy of `exe`, waits until its window is up and it has
// settled, and reads its resident size.
double IdleResidentMb(const std::wstring& exe, const std::wstring& name) {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::wstring dir = std::wstring(tmp) + L"vardo-rss-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring copy = dir + L"\\" + name;
  double mb = -1;
  if (CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + copy + L"\"";
    if (CreateProcessW(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
      const double t0 = bench::NowMs();
      while (!HasVisibleWindow(pi.dwProcessId) && bench::NowMs() - t0 < 10000) Sleep(10);
      WaitForInputIdle(pi.hProcess, 5000);
      Sleep(1500);  // painted and idle
      if (int pid = UnixPidOf(name)) mb = ResidentMb(pid);
      TerminateProcess(pi.hProcess, 0);
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  Sleep(200);
  DeleteFileW((dir + L"\\set.ini").c_str());
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(dir.c_str());
  return mb;
}

}  // namespace

int wmain() {
  timeBeginPeriod(1);  // Sleep(1) is a millisecond, not a 15.6 ms tick
  std::wstring here = bench::ExeFolder();
  std::wstring vardo = bench::VardoUnderTest();
  std::printf("  measuring %ls\n", vardo.c_str());
  std::wstring minimal = here + L"\\bench_minimal_window.exe";
  std::wstring floor = here + L"\\bench_minimal_layer_window.exe";
  // Warm the file cache and the server for all three.
  TimeStart(vardo);
  TimeStart(minimal);
  TimeStart(floor);
  std::vector<double> ours, ref, ours_f, ref_f;
  for (int i = 0; i < 10; ++i) {
    double a = TimeStart(vardo);
    double b = TimeStart(minimal);
    double c = TimeStart(floor);
    if (a >= 0 && b >= 0) {
      ours.push_back(a);
      ref.push_back(b);
    }
    if (a >= 0 && c >= 0) {
      ours_f.push_back(a);
      ref_f.push_back(c);
    }
  }
  if (ours.empty()) {
    std::printf("start-up: no run completed\n");
    return 1;
  }
  bench::PrintRatio("start -> settings window visible", ours, "minimal Win32 window", ref);
  if (!ours_f.empty())
    bench::PrintRatio("start -> settings window visible", ours_f, "layer + same controls", ref_f);

  std::vector<double> ours_mb, ref_mb, floor_mb;
  const std::wstring tag = std::to_wstring(GetCurrentProcessId());
  for (int i = 0; i < 3; ++i) {
    const double a = IdleResidentMb(vardo, L"Vardo-rss-" + tag + L".exe");
    const double b = IdleResidentMb(minimal, L"minimal-rss-" + tag + L".exe");
    const double c = IdleResidentMb(floor, L"floor-rss-" + tag + L".exe");
    if (a > 0 && b > 0) {
      ours_mb.push_back(a);
      ref_mb.push_back(b);
      if (c > 0) floor_mb.push_back(c);
    }
  }
  if (ours_mb.empty()) {
    std::printf("idle memory: could not read the resident sizes\n");
    return 1;
  }
  const double a = bench::Median(ours_mb), b = bench::Median(ref_mb);
  std::printf("%-44s ours %9.1f MB | %-28s %9.1f MB | ours - ref %6.1f MB  (n=%zu, medians)\n",
              "idle memory, layer + settings (Linux RSS)", a, "minimal Win32 window", b, a - b, ours_mb.size());
  if (!floor_mb.empty()) {
    const double c = bench::Median(floor_mb);
    std::printf("%-44s ours %9.1f MB | %-28s %9.1f MB | ours - ref %6.1f MB  (n=%zu, medians)\n",
                "idle memory, layer + settings (Linux RSS)", a, "layer + same controls", c, a - c,
                floor_mb.size());
  }
  return 0;
}
