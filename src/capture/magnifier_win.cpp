#include "capture/magnifier_win.h"

#include "capture/helpers.h"
#include "common/dpi_win.h"
#include "common/process_win.h"

namespace vardo {

namespace {
const COLORREF kBack = RGB(64, 64, 64);

RECT At(const capture::Rect& r, int x, int y) { return RECT{x + r.left, y + r.top, x + r.right(), y + r.bottom()}; }
}  // namespace

bool Magnifier::Create(int dpi, capture::Size screen) {
  layout_ = capture::LayoutMagnifier(dpi);
  screen_ = screen;
  rect_ = RECT{};
  back_.reset(CreateSolidBrush(kBack));
  font_.reset(CreateMessageFont(dpi));
  return back_ && font_ && view_.CreateDib(layout_.view.width, layout_.view.height);
}

RECT Magnifier::Update(capture::Point cursor, uint32_t colour, capture::Size selection, const MemoryCanvas& frozen) {
  const RECT before = rect_;
  if (!view_) return before;
  const capture::PixelView from{static_cast<const uint32_t*>(frozen.bits()), {frozen.width(), frozen.height()},
                                frozen.width()};
  capture::Magnify(from, capture::MagnifierSource(cursor), static_cast<uint32_t*>(view_.bits()),
                   {view_.width(), view_.height()}, view_.width(), capture::PixelOfColour(kBack));
  cross_ = capture::InvertColor(colour);
  rgb_text_ = Widen(capture::RgbReadout(colour));
  size_text_ = Widen(capture::SizeReadout(selection.width, selection.height));
  const capture::Point at = capture::PlaceMagnifier(cursor, layout_.panel, screen_, layout_.gap);
  rect_ = RECT{at.x, at.y, at.x + layout_.panel.width, at.y + layout_.panel.height};
  return before;
}

void Magnifier::Paint(HDC dc) const {
  if (IsRectEmpty(&rect_) || !view_) return;
  const int x = rect_.left, y = rect_.top;
  const RECT below{x, y + view_.height(), rect_.right, rect_.bottom};
  FillRect(dc, &below, back_.get());
  GdiFlush();
  BitBlt(dc, x, y, view_.width(), view_.height(), view_.dc(), 0, 0, SRCCOPY);
  const RECT cross = At(capture::CrossRect({view_.width(), view_.height()}), x, y);
  UniqueBrush fill(CreateSolidBrush(cross_));
  FillRect(dc, &cross, fill.get());
  // The readouts: white on the panel's grey; `Size` overlaps the view's
  // last rows as designed.
  SelectGuard font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  const std::wstring* texts[2] = {&size_text_, &rgb_text_};
  const capture::Rect* boxes[2] = {&layout_.size_label, &layout_.rgb_label};
  for (int i = 0; i < 2; ++i) {
    RECT r = At(*boxes[i], x, y);
    FillRect(dc, &r, back_.get());
    DrawTextW(dc, texts[i]->c_str(), static_cast<int>(texts[i]->size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace vardo
