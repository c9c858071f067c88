// Small timing helpers shared by the benchmark programs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/handles_win.h"

namespace bench {

inline double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline void PrintRatio(const char* what, const std::vector<double>& ours, const char* ref_name,
                       const std::vector<double>& ref) {
  double a = Median(ours), b = Median(ref);
  std::printf("%-44s ours %9.3f ms | %-28s %9.3f ms | ratio %6.2f  (n=%zu, medians)\n", what, a, ref_name, b,
              b > 0 ? a / b : 0.0, ours.size());
  std::fflush(stdout);
}

// For measurements taken in pairs, side by side: besides the ratio of the
// medians, the median of the pairs' own ratios, which a drift of the
// machine's speed during the run does not move.
inline void PrintPairedRatio(const char* what, const std::vector<double>& ours, const char* ref_name,
                             const std::vector<double>& ref) {
  PrintRatio(what, ours, ref_name, ref);
  std::vector<double> r;
  for (size_t i = 0; i < ours.size() && i < ref.size(); ++i)
    if (ref[i] > 0) r.push_back(ours[i] / ref[i]);
  std::printf("%-44s median of the %zu pairs' ratios %6.2f\n", "", r.size(), Median(r));
  std::fflush(stdout);
}

inline std::wstring ExeFolder() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring p(buf, n);
  return p.substr(0, p.find_last_of(L"\\/"));
}

// The Vardo.exe to measure: the shipped build (stripped of its debug
// information, as the package has it) when bench.sh made one beside the
// benchmarks, else the build's own.
inline std::wstring VardoUnderTest() {
  const std::wstring here = ExeFolder();
  const std::wstring shipped = here + L"\\shipped\\Vardo.exe";
  if (GetFileAttributesW(shipped.c_str()) != INVALID_FILE_ATTRIBUTES) return shipped;
  return here.substr(0, here.find_last_of(L"\\/")) + L"\\Vardo.exe";
}

inline void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

// The reference for showing a frozen screen: what a minimal screen-copy
// program does (copy the screen into a bitmap, show a full-screen window
// that paints it).
class ScreenCopyReference {
 public:
  ScreenCopyReference() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BenchReference";
    RegisterClassW(&wc);
  }
  // Milliseconds from nothing to the window shown with the copy on it.
  double Run(int w, int h) {
    double t0 = NowMs();
    frozen_.CreateDib(w, h);
    HDC screen = GetDC(nullptr);
    BitBlt(frozen_.dc(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"BenchReference", L"", WS_POPUP, 0, 0, w, h,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    GdiFlush();
    double t = NowMs() - t0;
    DestroyWindow(wnd);
    frozen_.Reset();
    Pump();
    return t;
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ScreenCopyReference*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (m == WM_PAINT && self) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      BitBlt(dc, 0, 0, self->frozen_.width(), self->frozen_.height(), self->frozen_.dc(), 0, 0, SRCCOPY);
      EndPaint(w, &ps);
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  vardo::MemoryCanvas frozen_;
};

}  // namespace bench
