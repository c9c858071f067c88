// A plain coloured window at a known place for the capture overlay's tests.
// Arguments: x y width height first-colour second-colour (RRGGBB hex)
// [transient]. Posting WM_APP to the window switches it to the second
// colour, so a test can tell a frozen picture from the live screen. A
// transient window takes the foreground and hides itself when it loses it,
// as an open menu or drop-down list does.
#include <windows.h>

#include <cwchar>
#include <cstdlib>

namespace {

COLORREF g_colour = RGB(0, 160, 0);
COLORREF g_second = RGB(200, 0, 200);
bool g_transient = false;

COLORREF ParseColour(const wchar_t* s) {
  unsigned long v = std::wcstoul(s, nullptr, 16);
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      HBRUSH b = CreateSolidBrush(g_colour);
      FillRect(dc, &ps.rcPaint, b);
      DeleteObject(b);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_APP:
      g_colour = g_second;
      SetWindowTextW(w, L"capture target: switched");
      InvalidateRect(w, nullptr, TRUE);
      UpdateWindow(w);
      return 0;
    case WM_ACTIVATE:
      if (g_transient && LOWORD(wp) == WA_INACTIVE && IsWindowVisible(w)) {
        ShowWindow(w, SW_HIDE);
        SetWindowTextW(w, L"capture target: hidden");
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(w, msg, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 5) return 2;
  const int x = _wtoi(argv[1]), y = _wtoi(argv[2]), width = _wtoi(argv[3]), height = _wtoi(argv[4]);
  if (argc > 5) g_colour = ParseColour(argv[5]);
  if (argc > 6) g_second = ParseColour(argv[6]);
  g_transient = argc > 7 && std::wcscmp(argv[7], L"transient") == 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"CaptureTarget";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"CaptureTarget", L"capture target", WS_POPUP | WS_VISIBLE, x, y,
                           width, height, nullptr, nullptr, inst, nullptr);
  if (!w) return 1;
  if (g_transient) SetForegroundWindow(w);
  LocalFree(argv);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
