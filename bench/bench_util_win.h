// Small timing helpers shared by the benchmark programs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

inline std::wstring ExeFolder() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring p(buf, n);
  return p.substr(0, p.find_last_of(L"\\/"));
}

}  // namespace bench
