#include "capture/label_paint_win.h"

#include <cmath>

#include "common/process_win.h"

namespace vardo {

namespace {

// What DrawText lays out: a last empty line (text ending in a line break)
// still takes a line, as it does in the box.
std::wstring LayoutText(const std::wstring& text) {
  if (text.empty() || text.back() == L'\n') return text + L" ";
  return text;
}

constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS | DT_NOCLIP;

}  // namespace

LOGFONTW LogFontFor(const capture::FontSpec& f, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(f.points * dpi / 72.0));
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikethrough;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, Widen(f.name).c_str(), LF_FACESIZE);
  return lf;
}

void LabelFonts::set_dpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  fonts_.clear();
}

HFONT LabelFonts::Get(const capture::FontSpec& f) {
  for (const auto& [made, font] : fonts_)
    if (made == f) return font.get();
  const LOGFONTW lf = LogFontFor(f, dpi_);
  UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) return nullptr;
  fonts_.emplace_back(f, std::move(font));
  return fonts_.back().second.get();
}

capture::Size MeasureText(HDC dc, HFONT font, const std::wstring& text, int* line_height) {
  SelectGuard use(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (line_height) *line_height = tm.tmHeight;
  const std::wstring laid = LayoutText(text);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, laid.c_str(), static_cast<int>(laid.size()), &r, kTextFormat | DT_CALCRECT);
  return capture::Size{static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

void DrawLabelText(HDC dc, capture::Point origin, const std::wstring& text, uint32_t colour, HFONT font) {
  if (text.empty()) return;
  SelectGuard use(dc, font);
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old = SetTextColor(dc, colour & 0xFFFFFF);
  RECT r{origin.x, origin.y, origin.x, origin.y};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, kTextFormat);
  SetTextColor(dc, old);
  SetBkMode(dc, mode);
}

}  // namespace vardo
