#include "capture/toolbar_layout.h"

#include <algorithm>

#include "common/units.h"

namespace vardo::capture {

namespace {

constexpr uint32_t Colour(int r, int g, int b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

constexpr std::array<uint32_t, kPaletteCount> kPalette = {
    Colour(255, 255, 255), Colour(0, 0, 0),       Colour(255, 0, 0),     Colour(255, 128, 0),
    Colour(255, 255, 0),   Colour(0, 255, 0),     Colour(0, 255, 255),   Colour(0, 0, 255),
    Colour(255, 0, 255),   Colour(192, 0, 0),     Colour(255, 0, 0),     Colour(128, 128, 255),
    Colour(0, 0, 192),     Colour(192, 64, 0),    Colour(255, 255, 192), Colour(255, 192, 192),
    Colour(192, 0, 192),   Colour(128, 128, 128),
};

constexpr int kTopBand = 24;
constexpr int kOpsBand = 40;
constexpr int kOpsTop = kTopBand;
constexpr int kBottomTop = kTopBand + kOpsBand;

}  // namespace

ToolbarLayout LayoutToolbar(int dpi) {
  auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
  auto r = [&](int x, int y, int w, int h) { return Rect{s(x), s(y), s(w), s(h)}; };
  ToolbarLayout t;
  t.panel = Size{s(225), s(113)};
  t.top_band = Rect{0, 0, t.panel.width, s(kTopBand)};
  t.ops_band = Rect{0, s(kOpsTop), t.panel.width, s(kOpsBand)};
  t.bottom_band = Rect{0, s(kBottomTop), t.panel.width, t.panel.height - s(kBottomTop)};

  static constexpr int kToolX[kToolCount] = {8, 31, 52, 75, 95};
  for (int i = 0; i < kToolCount; ++i) {
    t.tools[i] = r(kToolX[i], 4, 16, 16);
    const Rect& b = t.tools[i];
    const int side = s(20);
    t.tool_markers[i] = Rect{b.left + (b.width - side) / 2, b.top + (b.height - side) / 2, side, side};
  }
  t.separator = r(117, 2, 1, 21);
  t.pinimg = r(122, 0, 25, 25);
  t.image1 = r(147, 0, 25, 25);
  t.savepic = r(171, 0, 25, 23);
  t.exi = r(197, 0, 25, 25);
  // `Image1` and `savepic` share a pixel column by design; rounding must
  // not make them overlap further.
  t.savepic.left = std::max(t.savepic.left, t.image1.right() - 1);

  // Ops: the swatch at the left, two rows of nine colours, then the two
  // buttons stacked at the right.
  t.cn = r(8, kOpsTop + 4, 26, 29);
  for (int k = 0; k < kPaletteCount; ++k) t.cols[k] = r(40 + 16 * (k / 2), kOpsTop + 4 + 16 * (k % 2), 13, 13);
  t.more_c = r(186, kOpsTop + 3, 34, 15);
  t.sets = r(186, kOpsTop + 19, 34, 15);

  t.wid_label = r(6, kBottomTop + 5, 30, 16);
  t.sv_wid = r(38, kBottomTop + 6, 130, 14);
  t.txt_wid = r(174, kBottomTop + 3, 44, 20);
  t.alp_label = r(6, kBottomTop + 28, 30, 16);
  t.sv_alp = r(38, kBottomTop + 29, 130, 14);
  t.txt_alp = r(174, kBottomTop + 26, 44, 20);
  return t;
}

std::optional<int> ToolRowOf(int mode) {
  for (int i = 0; i < kToolCount; ++i)
    if (kToolRowModes[static_cast<size_t>(i)] == mode) return i;
  return std::nullopt;
}

uint32_t PaletteColour(int index) {
  if (index < 0 || index >= kPaletteCount) return 0;
  return kPalette[static_cast<size_t>(index)];
}

std::optional<int> SwatchAt(const ToolbarLayout& layout, Point p) {
  for (int k = 0; k < kPaletteCount; ++k)
    if (layout.cols[static_cast<size_t>(k)].Contains(p)) return k;
  return std::nullopt;
}

}  // namespace vardo::capture
