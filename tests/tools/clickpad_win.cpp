// A plain window for end-to-end tests that counts the left clicks it
// receives in its title ("clickpad N"). Arguments: left top width height.
// It ends by itself after a minute.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {
int g_clicks = 0;

void ShowCount(HWND w) {
  wchar_t title[64];
  swprintf(title, 64, L"clickpad %d", g_clicks);
  SetWindowTextW(w, title);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      ++g_clicks;
      ShowCount(w);
      return 0;
    case WM_TIMER:
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(w, msg, wp, lp);
  }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR args, int) {
  int x = 100, y = 100, w = 200, h = 150;
  swscanf(args, L"%d %d %d %d", &x, &y, &w, &h);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(RGB(0, 128, 255));
  wc.lpszClassName = L"clickpad";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, L"clickpad", L"clickpad 0", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                             inst, nullptr);
  if (!wnd) return 1;
  SetTimer(wnd, 1, 60000, nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  return 0;
}
