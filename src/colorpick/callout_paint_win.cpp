#include "colorpick/callout_paint_win.h"

#include "common/handles_win.h"
#include "common/process_win.h"

namespace vardo::colorpick {

namespace {
void Line(HDC dc, Point a, Point b, COLORREF colour) {
  UniquePen pen(CreatePen(PS_SOLID, 1, colour));
  SelectGuard g(dc, pen.get());
  MoveToEx(dc, a.x, a.y, nullptr);
  LineTo(dc, b.x, b.y);
  // Both ends belong to the line.
  SetPixelV(dc, b.x, b.y, colour);
}
}  // namespace

void DrawCallouts(HDC dc, const CalloutBoard& board, HFONT label_font, int swatch_side) {
  SelectGuard font(dc, label_font);
  for (const Callout& c : board.callouts()) {
    const CalloutGeometry& g = c.geometry;
    Line(dc, c.start, g.diag_end, c.line_color);
    if (g.flat_shown) Line(dc, g.diag_end, g.flat_end, c.line_color);
    {
      UniqueBrush fill(CreateSolidBrush(c.color));
      SelectGuard b(dc, fill.get());
      SelectGuard p(dc, GetStockObject(BLACK_PEN));
      Rectangle(dc, g.swatch.x, g.swatch.y, g.swatch.x + swatch_side, g.swatch.y + swatch_side);
    }
    RECT r{g.label.x, g.label.y, g.label.x + c.label_size.cx, g.label.y + c.label_size.cy};
    if (c.opaque) {
      UniqueBrush back(CreateSolidBrush(c.background));
      FillRect(dc, &r, back.get());
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c.text_color);
    const std::wstring text = Widen(c.texts.text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace vardo::colorpick
