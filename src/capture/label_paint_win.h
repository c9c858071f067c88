// Text of the overlay's labels and of its open text box: the fonts made
// from the overlay font, measuring, and drawing with a clear background in
// the label's colour. The screen, the outputs and the box's size all use
// this one way of laying text out.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "capture/text_labels.h"
#include "capture/tool_style.h"
#include "common/handles_win.h"

namespace vardo {

// The font for `f` at `dpi`.
LOGFONTW LogFontFor(const capture::FontSpec& f, int dpi);

// Fonts made once per face, size and style for the capture.
class LabelFonts {
 public:
  explicit LabelFonts(int dpi = 96) : dpi_(dpi) {}
  void set_dpi(int dpi);
  // Null only when the font cannot be made.
  HFONT Get(const capture::FontSpec& f);

 private:
  int dpi_;
  std::vector<std::pair<capture::FontSpec, UniqueFont>> fonts_;
};

// The extent of `text` (lines ending in "\r\n") in `font`, and the height
// of one line.
capture::Size MeasureText(HDC dc, HFONT font, const std::wstring& text, int* line_height);

// Draws `text` from `origin` in `colour` (0x00BBGGRR), leaving the
// background as it is.
void DrawLabelText(HDC dc, capture::Point origin, const std::wstring& text, uint32_t colour, HFONT font);

}  // namespace vardo
