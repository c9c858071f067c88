#include "pinned/handle_win.h"

#include "common/drag_win.h"
#include "common/handles_win.h"
#include "common/units.h"
#include "pinned/pin_layer_win.h"

namespace vardo {

namespace {
constexpr wchar_t kClassName[] = L"VardoPinHandle";
constexpr COLORREF kInk = RGB(48, 48, 48);
}  // namespace

void DrawHandleTile(HDC dc, int side, int dpi) {
  RECT all{0, 0, side, side};
  UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
  UniqueBrush ink(CreateSolidBrush(kInk));
  FillRect(dc, &all, white.get());
  // Dashed outline: dashes drawn as small bars so they scale with the DPI.
  int line = ScaleForDpi(1, dpi) > 0 ? ScaleForDpi(1, dpi) : 1;
  int inset = ScaleForDpi(2, dpi);
  int dash = ScaleForDpi(4, dpi);
  int gap = ScaleForDpi(3, dpi);
  int lo = inset, hi = side - inset;  // outline spans [lo, hi)
  for (int p = lo; p < hi; p += dash + gap) {
    int e = p + dash < hi ? p + dash : hi;
    RECT top{p, lo, e, lo + line}, bottom{p, hi - line, e, hi};
    RECT left{lo, p, lo + line, e}, right{hi - line, p, hi, e};
    FillRect(dc, &top, ink.get());
    FillRect(dc, &bottom, ink.get());
    FillRect(dc, &left, ink.get());
    FillRect(dc, &right, ink.get());
  }
  // The plus sign in the middle.
  int arm = ScaleForDpi(8, dpi);
  int thick = ScaleForDpi(2, dpi) > 1 ? ScaleForDpi(2, dpi) : 2;
  int c0 = (side - thick) / 2;
  int mid = side / 2;
  RECT h{mid - arm, c0, mid + arm, c0 + thick};
  RECT v{c0, mid - arm, c0 + thick, mid + arm};
  FillRect(dc, &h, ink.get());
  FillRect(dc, &v, ink.get());
}

bool HandleBox::CreateOn(HWND layer, int x, int y, int size) {
  if (!RegisterClass(kClassName)) return false;
  return Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, size, size, layer);
}

void HandleBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT r{};
  GetClientRect(hwnd(), &r);
  DrawHandleTile(dc, r.right, layer_.dpi());
  EndPaint(hwnd(), &ps);
}

LRESULT HandleBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_RBUTTONDOWN:
      layer_.getimg_RightDown();
      return 0;
    case WM_MOUSEMOVE:
      // The platform's move loop carries the handle while the left button
      // is held; a plain hover does nothing.
      if (wp & MK_LBUTTON) DragControl(layer_.hwnd(), hwnd());
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo
