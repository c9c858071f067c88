// The toolbar's tool row: the five tool buttons `Draw(0..4)` with their
// tips, the hover marker `Under` and the chosen-tool marker `DownUn`, each
// a 20 x 20 square centred on its button.
#include <windowsx.h>

#include <algorithm>

#include "capture/toolbar_win.h"

namespace vardo {

namespace {

constexpr wchar_t kToolClass[] = L"VardoCaptureDraw";
const COLORREF kUnderFill = RGB(148, 217, 255);
const COLORREF kUnderBorder = RGB(36, 143, 251);
const COLORREF kDownUnBorder = RGB(0, 0, 255);
const COLORREF kIcon = RGB(48, 48, 48);

// The tips, by tool mode.
const wchar_t* TipOf(int mode) {
  static const wchar_t* const tips[capture::kToolCount] = {L"矩形", L"椭圆", L"文字", L"箭头", L"橡皮"};
  return mode >= 0 && mode < capture::kToolCount ? tips[mode] : L"";
}

// The icons, drawn to the button's size n (16 px at 96 DPI).
void DrawIcon(HDC dc, int mode, int n) {
  const int w = std::max(1, n / 10);
  UniquePen pen(CreatePen(PS_SOLID, w, kIcon));
  UniqueBrush ink(CreateSolidBrush(kIcon));
  SelectGuard use_pen(dc, pen.get());
  SelectGuard no_fill(dc, GetStockObject(NULL_BRUSH));
  const int a = n * 2 / 16, b = n - n * 2 / 16 - 1;
  switch (mode) {
    case 0:  // rectangle
      Rectangle(dc, a, a + n / 8, b + 1, b + 1 - n / 8);
      break;
    case 1:  // ellipse
      Ellipse(dc, a, a + n / 8, b + 1, b + 1 - n / 8);
      break;
    case 2: {  // text: a capital T
      RECT bar{a + 1, a, b, a + 2 * w};
      FillRect(dc, &bar, ink.get());
      RECT stem{n / 2 - w, a, n / 2 + w, b + 1};
      FillRect(dc, &stem, ink.get());
      break;
    }
    case 3: {  // arrow to the upper right
      MoveToEx(dc, a, b, nullptr);
      LineTo(dc, b, a);
      SelectGuard fill(dc, ink.get());
      const POINT head[3] = {{b + 1, a - 1}, {b - n * 6 / 16, a}, {b, a + n * 6 / 16}};
      Polygon(dc, head, 3);
      break;
    }
    default: {  // eraser: a tilted block, its lower end lighter
      UniqueBrush light(CreateSolidBrush(RGB(240, 160, 170)));
      SelectGuard fill(dc, ink.get());
      const POINT body[4] = {{n * 9 / 16, a}, {b, n * 7 / 16}, {n * 8 / 16, b - n / 16}, {a, n * 8 / 16}};
      Polygon(dc, body, 4);
      SelectGuard tip(dc, light.get());
      const POINT end[4] = {{n * 5 / 16, n * 5 / 16}, {n * 10 / 16, n * 10 / 16},
                            {n * 8 / 16, b - n / 16}, {a, n * 8 / 16}};
      Polygon(dc, end, 4);
      break;
    }
  }
}

}  // namespace

bool ToolButton::Create(Toolbar& bar, int row, const capture::Rect& r, const wchar_t* tip) {
  bar_ = &bar;
  row_ = row;
  // The previous capture's button may have gone under the pointer, with no
  // leave and no release.
  tracking_ = false;
  click_ = ClickTracker();
  if (!Window::RegisterClass(kToolClass, 0, LoadCursorW(nullptr, IDC_HAND))) return false;
  return Window::Create(0, kToolClass, tip, WS_CHILD | WS_VISIBLE, r.left, r.top, r.width, r.height, bar.hwnd());
}

void ToolButton::OnPaint(HDC dc, const RECT&) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  UniqueBrush fill(CreateSolidBrush(bar_->ToolFill(row_)));
  FillRect(dc, &rc, fill.get());
  DrawIcon(dc, capture::kToolRowModes[static_cast<size_t>(row_)], rc.right);
}

LRESULT ToolButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd(), 0};
        tracking_ = TrackMouseEvent(&t) != FALSE;
      }
      bar_->SetHover(row_);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      bar_->SetHover(-1);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (click_.OnMessage(hwnd(), msg, lp)) bar_->ToolClicked(row_);
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

bool Toolbar::CreateToolRow() {
  for (int row = 0; row < capture::kToolCount; ++row) {
    const int mode = capture::kToolRowModes[static_cast<size_t>(row)];
    ToolButton& b = draw_[row];
    if (!b.Create(*this, row, layout_.tools[static_cast<size_t>(row)], TipOf(mode))) return false;
    AddTip(b.hwnd(), TipOf(mode));
  }
  return true;
}

COLORREF Toolbar::ToolFill(int row) const {
  if (row == chosen_row_) return GetSysColor(COLOR_HIGHLIGHT);
  if (row == hover_row_) return kUnderFill;
  return GetSysColor(COLOR_WINDOW);
}

void Toolbar::InvalidateTool(int row) {
  if (row < 0 || row >= capture::kToolCount || !hwnd()) return;
  const capture::Rect& m = layout_.tool_markers[static_cast<size_t>(row)];
  const RECT r{m.left, m.top, m.right(), m.bottom()};
  InvalidateRect(hwnd(), &r, TRUE);
  if (draw_[row].hwnd()) InvalidateRect(draw_[row].hwnd(), nullptr, FALSE);
}

void Toolbar::SetHover(int row) {
  if (row == hover_row_) return;
  InvalidateTool(hover_row_);
  hover_row_ = row;
  InvalidateTool(hover_row_);
}

void Toolbar::SetChosenTool(int mode) {
  const int row = capture::ToolRowOf(mode).value_or(-1);
  if (row == chosen_row_) return;
  InvalidateTool(chosen_row_);
  chosen_row_ = row;
  InvalidateTool(chosen_row_);
}

void Toolbar::ToolClicked(int row) {
  PostMessageW(overlay_, kMsgToolChosen, static_cast<WPARAM>(capture::kToolRowModes[static_cast<size_t>(row)]), 0);
}

void Toolbar::PaintMarkers(HDC dc) {
  // `Under` first: on the chosen button `DownUn` shows.
  const struct {
    int row;
    COLORREF fill, border;
  } markers[] = {{hover_row_, kUnderFill, kUnderBorder}, {chosen_row_, GetSysColor(COLOR_HIGHLIGHT), kDownUnBorder}};
  for (const auto& m : markers) {
    if (m.row < 0 || m.row >= capture::kToolCount) continue;
    const capture::Rect& r = layout_.tool_markers[static_cast<size_t>(m.row)];
    UniqueBrush fill(CreateSolidBrush(m.fill));
    UniquePen border(CreatePen(PS_SOLID, 1, m.border));
    SelectGuard b(dc, fill.get());
    SelectGuard p(dc, border.get());
    Rectangle(dc, r.left, r.top, r.right(), r.bottom());
  }
}

void Toolbar::NotifyStyle() {
  if (overlay_) SendMessageW(overlay_, kMsgToolStyle, 0, 0);
}

}  // namespace vardo
