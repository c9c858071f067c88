// Reference program for the hotkey benchmark: the least a screen-capture
// program does on its own global hotkey. It registers the key given as its
// argument (a virtual-key code, no modifiers), and on each press copies the
// screen into a bitmap and shows it in a topmost full-screen window. A close
// request takes the window away; the program stays for the next press.
#include <windows.h>

#include <cwchar>

namespace {

HDC g_frozen = nullptr;
HBITMAP g_bitmap = nullptr;
HGDIOBJ g_old = nullptr;
HWND g_window = nullptr;
int g_w = 0, g_h = 0;

void DropPicture() {
  if (!g_frozen) return;
  SelectObject(g_frozen, g_old);
  DeleteObject(g_bitmap);
  DeleteDC(g_frozen);
  g_frozen = nullptr;
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (g_frozen) BitBlt(dc, 0, 0, g_w, g_h, g_frozen, 0, 0, SRCCOPY);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      DestroyWindow(w);
      g_window = nullptr;
      DropPicture();
      return 0;
    default:
      return DefWindowProcW(w, m, wp, lp);
  }
}

void Capture(HINSTANCE inst) {
  if (g_window) return;
  g_w = GetSystemMetrics(SM_CXSCREEN);
  g_h = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = g_w;
  bi.bmiHeader.biHeight = -g_h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  g_bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  g_frozen = CreateCompatibleDC(nullptr);
  g_old = SelectObject(g_frozen, g_bitmap);
  HDC screen = GetDC(nullptr);
  BitBlt(g_frozen, 0, 0, g_w, g_h, screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, screen);
  g_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"MinimalHotkeyCapture", L"minimal capture", WS_POPUP,
                             0, 0, g_w, g_h, nullptr, nullptr, inst, nullptr);
  ShowWindow(g_window, SW_SHOW);
  SetForegroundWindow(g_window);
  UpdateWindow(g_window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR args, int) {
  wchar_t* rest = nullptr;
  const UINT vk = static_cast<UINT>(std::wcstoul(args, &rest, 10));
  const UINT mods = static_cast<UINT>(std::wcstoul(rest, nullptr, 10));
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"MinimalHotkeyCapture";
  RegisterClassW(&wc);
  // A hidden window whose title says whether the key was taken.
  HWND status = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, inst, nullptr);
  const bool held = vk && RegisterHotKey(nullptr, 1, mods, vk);
  SetWindowTextW(status, held ? L"minimal hotkey capture: held" : L"minimal hotkey capture: refused");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_HOTKEY) {
      Capture(inst);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
