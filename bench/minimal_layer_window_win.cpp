// Second reference for the start-up benchmark: the floor the start-up order
// sets. It first shows a full-screen, top-most, colour-keyed layered window
// (the size of Vardo's pin layer, filled with its key when shown), then a
// centred window of the settings window's size holding six controls of
// common controls 6 (its manifest asks for them, as Vardo's does).
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
  for (int i = 0; i < 6; ++i)
    CreateWindowExW(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8 + i * 63, 8, 60, 25, wnd,
                    nullptr, inst, nullptr);
  ShowWindow(wnd, SW_SHOW);
  UpdateWindow(wnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
