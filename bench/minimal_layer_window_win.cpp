// Second reference for the start-up benchmark: the floor the start-up order
// sets. It first shows a full-screen, top-most, colour-keyed layered window
// (the size of Vardo's pin layer, filled with its key when shown), then a
// centred window of the settings window's size holding the settings window's
// controls with their captions (so the same glyphs are rendered) in the
// message font, as common controls 6 (its manifest asks for them, as
// Vardo's does).
#include <windows.h>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  const COLORREF key = RGB(64, 0, 64);
  WNDCLASSW lc{};
  lc.lpfnWndProc = Proc;
  lc.hInstance = inst;
  lc.hbrBackground = CreateSolidBrush(key);
  lc.lpszClassName = L"MinimalLayer";
  RegisterClassW(&lc);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  HWND layer = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"MinimalLayer", L"layer",
                               WS_POPUP, 0, 0, sw, sh, nullptr, nullptr, inst, nullptr);
  SetLayeredWindowAttributes(layer, key, 0, LWA_COLORKEY);
  ShowWindow(layer, SW_SHOWNOACTIVATE);

  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"MinimalWindow";
  RegisterClassW(&wc);
  const int w = 391, h = 145;
  HWND wnd = CreateWindowExW(0, L"MinimalWindow", L"minimal", WS_POPUP, (sw - w) / 2, (sh - h) / 2, w, h, nullptr,
                             nullptr, inst, nullptr);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  HFONT font = CreateFontIndirectW(&ncm.lfMessageFont);
  struct Control {
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int x, y, cx, cy;
  };
  const Control controls[] = {
      {L"BUTTON", L"启用", BS_AUTOCHECKBOX, 280, 128, 65, 25},
      {L"BUTTON", L"保存", BS_PUSHBUTTON, 96, 72, 145, 33},
      {L"BUTTON", L"隐藏", BS_PUSHBUTTON, 8, 112, 65, 25},
      {L"BUTTON", L"默认热键为Print Screen", BS_PUSHBUTTON | BS_MULTILINE, 256, 24, 89, 28},
      {L"STATIC", L"设置热键：", 0, 16, 24, 65, 25},
      {L"EDIT", L"NULL", WS_BORDER | ES_AUTOHSCROLL, 84, 24, 166, 22},
  };
  for (const Control& c : controls) {
    HWND child = CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.cx, c.cy, wnd,
                                 nullptr, inst, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ShowWindow(wnd, SW_SHOW);
  UpdateWindow(wnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
