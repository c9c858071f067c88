#include "capture/magnifier.h"

#include <cstdio>
#include <cstring>

#include "capture/helpers.h"
#include "common/units.h"

namespace vardo::capture {

MagnifierLayout LayoutMagnifier(int dpi) {
  auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
  MagnifierLayout m;
  m.panel = Size{s(130), s(161)};
  m.view = Rect{0, 0, s(130), s(130)};
  m.size_label = Rect{0, s(128), s(129), s(17)};
  m.rgb_label = Rect{0, s(144), s(129), s(17)};
  m.gap = s(20);
  return m;
}

Rect MagnifierSource(Point c) {
  const int half = kMagnifiedPixels / 2;
  return Rect{c.x - half, c.y - half, kMagnifiedPixels, kMagnifiedPixels};
}

int CellStart(int i, int extent) { return (i * extent + kMagnifiedPixels - 1) / kMagnifiedPixels; }

Rect CrossRect(Size view) {
  const int c = kMagnifiedPixels / 2;
  const int l = CellStart(c, view.width), t = CellStart(c, view.height);
  return Rect{l, t, CellStart(c + 1, view.width) - l, CellStart(c + 1, view.height) - t};
}

void Magnify(const PixelView& from, const Rect& src, uint32_t* to, Size view, int stride, uint32_t outside) {
  if (!to || view.width <= 0 || view.height <= 0 || src.width != kMagnifiedPixels || src.height != kMagnifiedPixels)
    return;
  // Built one source row at a time, cell by cell; the view rows of the
  // same source row are copies of the first.
  for (int j = 0; j < kMagnifiedPixels; ++j) {
    const int y0 = CellStart(j, view.height), y1 = CellStart(j + 1, view.height);
    if (y0 >= y1) continue;
    uint32_t* row = to + static_cast<size_t>(y0) * stride;
    const int sy = src.top + j;
    const bool row_inside = from.pixels && sy >= 0 && sy < from.size.height;
    const uint32_t* line = row_inside ? from.pixels + static_cast<size_t>(sy) * from.stride : nullptr;
    for (int i = 0; i < kMagnifiedPixels; ++i) {
      const int sx = src.left + i;
      const uint32_t v = line && sx >= 0 && sx < from.size.width ? line[sx] & 0xFFFFFFu : outside;
      for (int x = CellStart(i, view.width), x1 = CellStart(i + 1, view.width); x < x1; ++x) row[x] = v;
    }
    for (int y = y0 + 1; y < y1; ++y)
      std::memcpy(to + static_cast<size_t>(y) * stride, row, static_cast<size_t>(view.width) * sizeof(uint32_t));
  }
}

std::string RgbReadout(uint32_t colour) {
  const Rgb c = SplitRGB(colour);
  char buf[48];
  std::snprintf(buf, sizeof buf, "RGB(%d , %d , %d)", c.r, c.g, c.b);
  return buf;
}

std::string SizeReadout(int width, int height) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%d \xC3\x97 %d", width, height);
  return buf;
}

}  // namespace vardo::capture
