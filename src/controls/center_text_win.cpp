#include "controls/center_text_win.h"

#include <windowsx.h>

#include "controls/center_text.h"
#include "controls/mouse_args_win.h"

namespace vardo {

bool CenterText::Create(HWND parent, const Rect& r, const std::wstring& caption) {
  if (!Window::RegisterClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW))) return false;
  if (!font_) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) SetFont(ncm.lfMessageFont);
  }
  // A new window starts with the pointer outside and nothing tracked: the
  // previous one may have been destroyed under the pointer, with no leave.
  is_inside_ = tracking_ = pressed_ = false;
  return Window::Create(0, kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE, r.left, r.top, r.width, r.height,
                        parent);
}

void CenterText::SetBackColor(COLORREF colour) {
  back_ = colour;
  Repaint();
}

bool CenterText::WithBorder() const {
  return hwnd() && (GetWindowLongW(hwnd(), GWL_STYLE) & WS_BORDER) != 0;
}

void CenterText::SetWithBorder(bool border) {
  if (!hwnd()) return;
  LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
  style = border ? (style | WS_BORDER) : (style & ~WS_BORDER);
  SetWindowLongW(hwnd(), GWL_STYLE, style);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Repaint();
}

std::wstring CenterText::Caption() const {
  if (!hwnd()) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void CenterText::SetCaption(const std::wstring& caption) {
  if (!hwnd()) return;
  SetWindowTextW(hwnd(), caption.c_str());
  Repaint();
}

void CenterText::SetForeColor(COLORREF colour) {
  fore_ = colour;
  Repaint();
}

void CenterText::SetFont(const LOGFONTW& font) {
  UniqueFont made(CreateFontIndirectW(&font));
  if (!made) return;
  font_spec_ = font;
  font_ = std::move(made);
  Repaint();
}

void CenterText::Repaint() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CenterText::OnPaint(HDC dc, const RECT&) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  UniqueBrush back(CreateSolidBrush(back_));
  FillRect(dc, &rc, back.get());
  const std::wstring text = Caption();
  SelectGuard font(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  const Point at = controls::CentreLabel(Size{rc.right, rc.bottom}, Size{extent.cx, extent.cy});
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, fore_);
  TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

void CenterText::OnMouseMove(WPARAM wp, LPARAM lp) {
  if (!tracking_) {
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd(), 0};
    tracking_ = TrackMouseEvent(&t) != FALSE;
  }
  RECT rc;
  GetClientRect(hwnd(), &rc);
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  // Moves outside reach the control only while a press holds the mouse.
  if (p.x < 0 || p.x > rc.right || p.y < 0 || p.y > rc.bottom) {
    Left(false);
    return;
  }
  if (MouseMove) MouseMove(controls::ButtonsOf(wp), controls::ShiftOf(wp), static_cast<float>(p.x), static_cast<float>(p.y));
  if (!is_inside_) {
    is_inside_ = true;
    if (MouseEnter) MouseEnter();
  }
}

void CenterText::Left(bool tracking_ended) {
  if (tracking_ended) tracking_ = false;
  if (!is_inside_) return;
  is_inside_ = false;
  if (MouseLeave) MouseLeave();
}

LRESULT CenterText::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const float x = static_cast<float>(GET_X_LPARAM(lp)), y = static_cast<float>(GET_Y_LPARAM(lp));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      OnMouseMove(wp, lp);
      return 0;
    case WM_MOUSELEAVE:
      Left(true);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (msg == WM_LBUTTONDOWN) {
        pressed_ = true;
        SetCapture(hwnd());
      }
      if (MouseDown) MouseDown(controls::ButtonOfMessage(msg), controls::ShiftOf(wp), x, y);
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click is a press too: its release
      // clicks like any other, so a quick second click is not lost.
      pressed_ = true;
      SetCapture(hwnd());
      if (MouseDown) MouseDown(1, controls::ShiftOf(wp), x, y);
      if (DblCilck) DblCilck();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      bool click = false;
      if (msg == WM_LBUTTONUP) {
        RECT rc;
        GetClientRect(hwnd(), &rc);
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        click = pressed_ && PtInRect(&rc, p);
        pressed_ = false;
        if (GetCapture() == hwnd()) ReleaseCapture();
      }
      if (MouseUp) MouseUp(controls::ButtonOfMessage(msg), controls::ShiftOf(wp), x, y);
      // Last: the host may open a dialog or even destroy the control.
      if (click && Click) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace vardo
