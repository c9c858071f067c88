#include "common/dpi_win.h"

#include <cmath>

namespace vardo {

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SpiForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

template <class Fn>
Fn User32Proc(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}
}  // namespace

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : kBaseDpi;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : kBaseDpi;
}

int DpiOf(HWND wnd) {
  static const auto get_dpi = User32Proc<GetDpiForWindowFn>("GetDpiForWindow");
  if (wnd && get_dpi) {
    UINT d = get_dpi(wnd);
    if (d) return static_cast<int>(d);
  }
  return ScreenDpi();
}

HFONT CreateMessageFont(int dpi) {
  static const auto spi = User32Proc<SpiForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  bool ok = spi && spi(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, static_cast<UINT>(dpi));
  if (!ok) {
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    if (ok) {
      int sys = ScreenDpi();
      ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, dpi, sys);
    }
  }
  if (!ok) return CreatePointFont(L"Segoe UI", 9, dpi);
  return CreateFontIndirectW(&ncm.lfMessageFont);
}

HFONT CreatePointFont(const wchar_t* face, double points, int dpi, bool bold) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

}  // namespace vardo
