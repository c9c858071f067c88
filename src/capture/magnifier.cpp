#include "capture/magnifier.h"

#include <cstdio>

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
  if (!to || view.width <= 0 || view.height <= 0 || src.width <= 0 || src.height <= 0) return;
  for (int y = 0; y < view.height; ++y) {
    uint32_t* row = to + static_cast<size_t>(y) * stride;
    const int sy = src.top + y * src.height / view.height;
    if (!from.pixels || sy < 0 || sy >= from.size.height) {
      for (int x = 0; x < view.width; ++x) row[x] = outside;
      continue;
    }
    const uint32_t* line = from.pixels + static_cast<size_t>(sy) * from.stride;
    for (int x = 0; x < view.width; ++x) {
      const int sx = src.left + x * src.width / view.width;
      row[x] = sx >= 0 && sx < from.size.width ? line[sx] & 0xFFFFFFu : outside;
    }
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
