#include "pinned/handle_win.h"

#include "common/handles_win.h"
#include "common/units.h"

namespace vardo {

namespace {
constexpr COLORREF kInk = RGB(48, 48, 48);
}  // namespace

void DrawHandleTile(HDC dc, int x, int y, int side, int dpi) {
  POINT old{};
  SetViewportOrgEx(dc, x, y, &old);
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
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

}  // namespace vardo
