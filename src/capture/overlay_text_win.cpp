#include "capture/overlay_text_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/dpi_win.h"
#include "common/process_win.h"

namespace vardo {

namespace {

constexpr int kBoxId = 201;
// The box's extra size over its text, designed at 96 DPI.
constexpr int kBoxPadding = 16;

RECT ToRect(const capture::Rect& r) { return RECT{r.left, r.top, r.right(), r.bottom()}; }

}  // namespace

bool OverlayText::Create(HWND overlay, int dpi) {
  overlay_ = overlay;
  padding_ = Scale(kBoxPadding, dpi);
  fonts_.set_dpi(dpi);
  box_colour_ = colour_;
  box_font_ = font_;
  // No border of the control's own: it would move the text by its own
  // rules; the frame is drawn in the padding instead.
  const DWORD style =
      WS_CHILD | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  HWND box = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, padding_, padding_, overlay,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBoxId)), GetModuleHandleW(nullptr), nullptr);
  if (!box || !Attach(box)) return false;
  SetFont(box_font_);
  FitBox();
  return true;
}

void OverlayText::Destroy() {
  box_drag_.Cancel();
  Detach();
  labels_ = capture::TextLabels();
  drag_.reset();
  menu_label_ = 0;
  overlay_ = nullptr;
}

bool OverlayText::box_open() const { return control() && IsWindowVisible(control()); }

std::wstring OverlayText::BoxText() const {
  HWND box = control();
  if (!box) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return text;
}

capture::Rect OverlayText::BoxRect() const {
  RECT r{};
  if (!control()) return {};
  GetWindowRect(control(), &r);
  MapWindowPoints(nullptr, overlay_, reinterpret_cast<POINT*>(&r), 2);
  return capture::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void OverlayText::FitBox() {
  HWND box = control();
  if (!box || fitting_) return;
  fitting_ = true;
  int line = 0;
  capture::Size size{};
  {
    WindowDc dc(box);
    size = capture::TextBoxSize(MeasureText(dc.get(), fonts_.Get(box_font_), BoxText(), &line), line, padding_);
  }
  SetWindowPos(box, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The text starts half the padding in from the box's edge, where the
  // labels draw it.
  RECT client;
  GetClientRect(box, &client);
  const int inset = padding_ / 2;
  RECT text{client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
  SendMessageW(box, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
  // The box grew after the control scrolled to keep the caret in view:
  // all of the text fits now, shown from its start.
  SendMessageW(box, EM_LINESCROLL, static_cast<WPARAM>(-0x7FFF), -0x7FFF);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  InvalidateRect(box, nullptr, TRUE);
  fitting_ = false;
}

void OverlayText::SetStyle(uint32_t colour, const capture::FontSpec& font) {
  colour_ = colour;
  font_ = font;
  if (!control() || labels_.editing() != 0) return;
  box_colour_ = colour;
  if (!(box_font_ == font)) {
    box_font_ = font;
    SetFont(box_font_);
  }
  FitBox();
}

void OverlayText::OpenBoxAt(capture::Point top_left) {
  HWND box = control();
  if (!box) return;
  if (!box_open() && labels_.editing() == 0) {
    box_colour_ = colour_;
    box_font_ = font_;
    SetFont(box_font_);
  }
  SetWindowPos(box, HWND_TOP, top_left.x, top_left.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  FitBox();
  SetFocus(box);
}

void OverlayText::SetFont(const capture::FontSpec& f) {
  SendMessageW(control(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(f)), FALSE);
  // Setting a font sets margins from it; the text's place is the padding.
  SendMessageW(control(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void OverlayText::PaintFrame() const {
  HWND box = control();
  WindowDc dc(box);
  RECT r;
  GetClientRect(box, &r);
  UniqueBrush grey(CreateSolidBrush(RGB(128, 128, 128)));
  FrameRect(dc.get(), &r, grey.get());
}

void OverlayText::OnBoxCommand(WORD code) {
  if (code == EN_UPDATE) FitBox();
}

LRESULT OverlayText::BoxColours(HDC dc) const {
  SetTextColor(dc, box_colour_ & 0xFFFFFF);
  SetBkColor(dc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

bool OverlayText::OnFrame(POINT client) const {
  RECT text{};
  SendMessageW(control(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  return !PtInRect(&text, client);
}

bool OverlayText::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (box_drag_.OnMessage(msg, wp)) {
    *result = 0;
    return true;
  }
  switch (msg) {
    case WM_PAINT:
      *result = CallPrevious(msg, wp, lp);
      PaintFrame();
      return true;
    case WM_LBUTTONDBLCLK:
      Commit();
      *result = 0;
      return true;
    case WM_LBUTTONDOWN:
      if (!OnFrame(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return false;
      SetFocus(control());
      box_drag_.Begin(control());
      *result = 0;
      return true;
    case WM_SETCURSOR: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(control(), &p);
      if (!OnFrame(p)) return false;
      SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
      *result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

bool OverlayText::Commit() {
  const std::wstring text = BoxText();
  const std::optional<int> k = labels_.Commit(BoxRect(), Narrow(text), colour_, font_);
  if (!k) {
    // No index left: the box and its text stay as they are.
    MessageBeep(MB_ICONWARNING);
    return false;
  }
  box_drag_.End();
  ShowWindow(control(), SW_HIDE);
  SetWindowTextW(control(), L"");
  if (const capture::TextLabel* l = labels_.Find(*k)) InvalidateLabel(*l);
  SetFocus(overlay_);
  return true;
}

void OverlayText::InvalidateLabel(const capture::TextLabel& l) const {
  const RECT r = ToRect(capture::Rect{l.box.left - 2, l.box.top - 2, l.box.width + 4, l.box.height + 4});
  InvalidateRect(overlay_, &r, FALSE);
}

bool OverlayText::Press(capture::Point p) {
  const int k = labels_.LabelAt(p);
  const capture::TextLabel* l = k ? labels_.Find(k) : nullptr;
  if (!l) return false;
  drag_ = LabelDrag{k, capture::Point{p.x - l->box.left, p.y - l->box.top}};
  SetCapture(overlay_);
  return true;
}

bool OverlayText::Move(capture::Point p) {
  if (!drag_) return false;
  const capture::TextLabel* l = labels_.Find(drag_->index);
  if (!l) {
    drag_.reset();
    return false;
  }
  InvalidateLabel(*l);
  labels_.MoveTo(drag_->index, capture::Point{p.x - drag_->grab.x, p.y - drag_->grab.y});
  if ((l = labels_.Find(drag_->index))) InvalidateLabel(*l);
  return true;
}

bool OverlayText::Release() {
  if (!drag_) return false;
  drag_.reset();
  return true;
}

bool OverlayText::DoubleClick(capture::Point p) {
  const int k = labels_.LabelAt(p);
  if (!k) return false;
  if (box_open()) {
    // What the open box holds becomes its label first, so no typed text is
    // lost; an empty new box is simply closed.
    if (labels_.editing() != 0 || !BoxText().empty()) {
      if (!Commit()) return true;
    } else {
      ShowWindow(control(), SW_HIDE);
    }
  }
  const capture::TextLabel* l = labels_.BeginEdit(k);
  if (!l) return true;
  InvalidateLabel(*l);
  box_colour_ = l->colour;
  box_font_ = l->font;
  HWND box = control();
  SetFont(box_font_);
  SetWindowTextW(box, Widen(l->text).c_str());
  SetWindowPos(box, HWND_TOP, l->box.left, l->box.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  FitBox();
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  return true;
}

bool OverlayText::RightPress(capture::Point p, const std::function<bool()>& menu) {
  const int k = labels_.LabelAt(p);
  if (!k) return false;
  menu_label_ = k;
  if (menu && menu()) delabel1();
  return true;
}

void OverlayText::delabel1() {
  if (const capture::TextLabel* l = labels_.Find(menu_label_)) InvalidateLabel(*l);
  labels_.Delete(menu_label_);
}

void OverlayText::DrawLabels(HDC dc) {
  for (const capture::TextLabel& l : labels_.labels()) {
    if (!l.visible) continue;
    const RECT r = ToRect(l.box);
    if (!RectVisible(dc, &r)) continue;
    DrawLabelText(dc, capture::TextOrigin(l.box, padding_), Widen(l.text), l.colour, fonts_.Get(l.font));
  }
}

void OverlayText::Paint(HDC dc) { DrawLabels(dc); }

void OverlayText::DrawOutput(HDC dc) {
  DrawLabels(dc);
  if (!box_open()) return;
  const std::wstring text = BoxText();
  if (!text.empty())
    DrawLabelText(dc, capture::TextOrigin(BoxRect(), padding_), text, box_colour_, fonts_.Get(box_font_));
}

}  // namespace vardo
