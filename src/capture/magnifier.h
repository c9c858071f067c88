// The magnifier `Va` beside the cursor: the 20 x 20 frozen pixels round the
// cursor enlarged by pixel replication in `View`, the marker `Cross` on the
// cursor's own pixel, and the two readouts `Size` and `RGBCO`. Lengths are
// physical pixels for a DPI; the design is at 96 DPI.
#pragma once
#include <cstdint>
#include <string>

#include "capture/geometry.h"

namespace vardo::capture {

// Frozen pixels across (and down) the enlarged view.
constexpr int kMagnifiedPixels = 20;

struct MagnifierLayout {
  Size panel;       // Va: 130 x 161
  Rect view;        // View: 130 x 130 at 0,0
  Rect size_label;  // Size: 129 x 17 at 0,128
  Rect rgb_label;   // RGBCO: 129 x 17 at 0,144
  int gap = 20;     // from the cursor to the panel
};
MagnifierLayout LayoutMagnifier(int dpi);

// The frozen pixels shown: 10 to the left of and above the cursor, 20
// across and down. Parts beyond the screen show the panel's background.
Rect MagnifierSource(Point cursor);

// First view pixel of source column (or row) `i` of 20 in a view `extent`
// pixels across; cell i spans [CellStart(i), CellStart(i + 1)).
int CellStart(int i, int extent);

// The cursor's own pixel in the view: the cell of source column and row 10.
Rect CrossRect(Size view);

// A top-down 32-bit picture (0x00RRGGBB values), not owned.
struct PixelView {
  const uint32_t* pixels = nullptr;
  Size size;
  int stride = 0;  // in pixels
};

// Enlarges `source` (20 x 20, see MagnifierSource) of `from` into `view`
// pixels at `to` (top-down, `stride` pixels per row) by pixel replication,
// source pixel i going to cell i; source pixels beyond `from` are painted
// `outside`.
void Magnify(const PixelView& from, const Rect& source, uint32_t* to, Size view, int stride, uint32_t outside);

// "RGB(r , g , b)" of a colour value 0x00BBGGRR.
std::string RgbReadout(uint32_t colour);
// "W × H" (space, multiplication sign, space).
std::string SizeReadout(int width, int height);

// The colour value (0x00BBGGRR) of a 0x00RRGGBB pixel.
constexpr uint32_t ColourOfPixel(uint32_t px) {
  return ((px >> 16) & 0xFF) | (px & 0xFF00) | ((px & 0xFF) << 16);
}
constexpr uint32_t PixelOfColour(uint32_t c) { return ColourOfPixel(c); }

}  // namespace vardo::capture
