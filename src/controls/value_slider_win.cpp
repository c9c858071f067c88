#include "controls/value_slider_win.h"

#include <windowsx.h>

#include "common/handles_win.h"
#include "controls/mouse_args_win.h"
#include "controls/value_slider.h"

namespace vardo {

namespace {
const COLORREF kThumb = RGB(255, 128, 0);
}  // namespace

bool SValue::Create(HWND parent, const Rect& r) {
  // The class cursor is the hand: it shows on presses and moves alike.
  if (!Window::RegisterClass(kClassName, 0, LoadCursorW(nullptr, IDC_HAND))) return false;
  return Window::Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.width, r.height, parent);
}

void SValue::SetMax(float max) {
  max_ = max;
  Draw();
}

void SValue::SetValue(float value) {
  value_ = controls::SliderValue(value, max_, over_maxable_);
  Draw();
  if (Change) Change();
}

void SValue::Draw() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

float SValue::ValueX(LPARAM lp) const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  return controls::ValueAtPixel(GET_X_LPARAM(lp), rc.right, max_);
}

void SValue::OnPaint(HDC dc, const RECT&) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  // Drawn off screen first so the thumb does not flicker while dragged.
  MemoryCanvas canvas;
  HDC target = canvas.Create(dc, rc.right, rc.bottom) ? canvas.dc() : dc;
  FillRect(target, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const Size inner{rc.right, rc.bottom};
  const Rect t = controls::TrackRect(inner);
  RECT track{t.left, t.top, t.right(), t.bottom()};
  FillRect(target, &track, GetSysColorBrush(COLOR_HIGHLIGHT));
  const Rect th = controls::ThumbRect(inner, max_, value_);
  RECT thumb{th.left, th.top, th.right(), th.bottom()};
  UniqueBrush orange(CreateSolidBrush(kThumb));
  FillRect(target, &thumb, orange.get());
  if (target != dc) BitBlt(dc, 0, 0, rc.right, rc.bottom, target, 0, 0, SRCCOPY);
}

LRESULT SValue::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const float y = static_cast<float>(GET_Y_LPARAM(lp));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // A press alone leaves the value; a drag from it sets it, also where
      // the pointer runs past the ends.
      if (msg == WM_LBUTTONDOWN) SetCapture(hwnd());
      if (MouseDown) MouseDown(controls::ButtonOfMessage(msg), controls::ShiftOf(wp), ValueX(lp), y);
      return 0;
    case WM_MOUSEMOVE:
      if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == MK_LBUTTON) SetValue(ValueX(lp));
      if (MouseMove) MouseMove(controls::ButtonsOf(wp), controls::ShiftOf(wp), ValueX(lp), y);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd()) ReleaseCapture();
      if (MouseUp) MouseUp(controls::ButtonOfMessage(msg), controls::ShiftOf(wp), ValueX(lp), y);
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace vardo
