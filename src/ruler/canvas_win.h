// The ruler's pictures: the frozen screen, and the frozen screen with every
// measuring line drawn on it, kept up to date one changed area at a time.
// The window, the magnifier and the saved picture all come from here.
#pragma once
#include <windows.h>

#include <string>

#include "common/handles_win.h"
#include "ruler/lines.h"

namespace vardo::ruler {

class RulerCanvas {
 public:
  // Copies the screen (w x h from its origin) into the frozen picture.
  bool Freeze(int w, int h);
  // Makes the picture that carries the lines (a copy of the frozen one).
  // Done once the window shows, off the start's path; the first change
  // makes it too if it is not there yet.
  bool PrepareLines();
  // The label font for the DPI.
  void SetDpi(int dpi);
  void Reset();
  explicit operator bool() const { return static_cast<bool>(frozen_); }

  int width() const { return frozen_.width(); }
  int height() const { return frozen_.height(); }
  // The frozen picture with its lines, as the window shows it.
  HDC picture() const { return surface_ ? surface_.dc() : frozen_.dc(); }

  // A label's size for its text: the text in the label font with padding.
  Size MeasureLabel(const std::string& text) const;
  // Redraws the picture inside `dirty` from the frozen screen and the board.
  void Refresh(const LineBoard& board, const Rect& dirty);
  // Copies the picture's `area` to the same place of `dc`.
  void PaintTo(HDC dc, const RECT& area) const;
  // The live length label with its top-left corner at `at`.
  void DrawLiveLabel(HDC dc, Point at, const std::string& text) const;
  // The frozen screen with every line, tick and label, composed afresh
  // into a new bitmap the caller owns.
  HBITMAP Render(const LineBoard& board) const;

 private:
  void DrawLabel(HDC dc, const Rect& r, const std::string& text, COLORREF color) const;
  void DrawLines(HDC dc, const LineBoard& board, const Rect* clip) const;

  MemoryCanvas frozen_;
  MemoryCanvas surface_;
  UniqueFont font_;
  UniqueMemDc measure_dc_;
  int dpi_ = 96;
};

}  // namespace vardo::ruler
