#include "common/magnifier_win.h"

#include "common/handles_win.h"

namespace vardo {

void DrawMagnified(HDC zoom, HDC picture, int picture_w, int picture_h, POINT pointer, COLORREF outside) {
  RECT all{0, 0, kZoomSide, kZoomSide};
  UniqueBrush back(CreateSolidBrush(outside));
  FillRect(zoom, &all, back.get());
  auto copy = ZoomCopyFor(Point{pointer.x, pointer.y}, Size{picture_w, picture_h});
  if (!copy) return;
  SetStretchBltMode(zoom, COLORONCOLOR);
  const Rect& s = copy->source;
  StretchBlt(zoom, copy->dest.x, copy->dest.y, s.width * kZoomFactor, s.height * kZoomFactor, picture, s.left, s.top,
             s.width, s.height, SRCCOPY);
}

bool NudgePointer(WPARAM key) {
  POINT p{};
  GetCursorPos(&p);
  switch (key) {
    case VK_UP: --p.y; break;
    case VK_DOWN: ++p.y; break;
    case VK_LEFT: --p.x; break;
    case VK_RIGHT: ++p.x; break;
    default: return false;
  }
  SetCursorPos(p.x, p.y);
  return true;
}

}  // namespace vardo
