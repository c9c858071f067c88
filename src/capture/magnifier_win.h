// The magnifier panel `Va`, which the overlay paints over its surface
// beside the cursor: the enlarged view `View`, the marker `Cross` and the
// readouts `Size` and `RGBCO`. It is painted rather than a child window so
// that following the cursor costs two small repaints, no window move.
#pragma once
#include <windows.h>

#include <string>

#include "capture/magnifier.h"
#include "common/handles_win.h"

namespace vardo {

class Magnifier {
 public:
  bool Create(int dpi, capture::Size screen);
  // Moves the panel beside `cursor` (overlay pixels) and shows the frozen
  // pixels round it, `colour` (0x00BBGGRR, the surface as shown there) and
  // the selection's size. Returns the panel's old place; its new place is
  // rect().
  RECT Update(capture::Point cursor, uint32_t colour, capture::Size selection, const MemoryCanvas& frozen);
  // Where the panel is, in overlay pixels (empty before the first update).
  RECT rect() const { return rect_; }
  void Paint(HDC dc) const;
  // The readouts as shown: `Size`, a line break, `RGBCO`.
  std::wstring Readouts() const { return size_text_ + L"\n" + rgb_text_; }

 private:
  capture::MagnifierLayout layout_;
  capture::Size screen_{};
  RECT rect_{};
  MemoryCanvas view_;  // the enlarged pixels
  // The initial texts, until the first update.
  std::wstring size_text_ = L"0×0";
  std::wstring rgb_text_ = L"RGB(0,0,0)";
  uint32_t cross_ = 0xFFFFFF;  // 0x00BBGGRR
  UniqueBrush back_;
  UniqueFont font_;
};

}  // namespace vardo
