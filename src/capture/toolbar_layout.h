// The toolbar `Tools` laid out in its three bands: the tool and action row
// (24 px), the colour band `Ops` (40 px) and the width and alpha rows.
// Designed at 96 DPI in a 225 x 113 panel; every place and size is scaled
// on its own for the DPI, so the panel is 338 x 170 at 144 DPI.
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "capture/geometry.h"

namespace vardo::capture {

constexpr int kToolCount = 5;
constexpr int kPaletteCount = 18;

// The tools in their order on the row (rectangle, ellipse, arrow, eraser,
// text) and the tool mode each one sets.
constexpr std::array<int, kToolCount> kToolRowModes = {0, 1, 3, 4, 2};

struct ToolbarLayout {
  Size panel;
  // Bands, full panel width.
  Rect top_band, ops_band, bottom_band;
  // Top band.
  std::array<Rect, kToolCount> tools;  // in row order, see kToolRowModes
  // The 20 x 20 squares of the hover marker `Under` and the chosen-tool
  // marker `DownUn`, centred on each tool button.
  std::array<Rect, kToolCount> tool_markers;
  Rect separator;                      // the grey line after the tools
  Rect pinimg, image1, savepic, exi;
  // Ops band (in panel coordinates).
  Rect cn;  // current-colour swatch
  std::array<Rect, kPaletteCount> cols;
  Rect more_c, sets;
  // Bottom band: "粗细" and "亮度" rows.
  Rect wid_label, sv_wid, txt_wid;
  Rect alp_label, sv_alp, txt_alp;
};

ToolbarLayout LayoutToolbar(int dpi);

// The place on the tool row of the tool that sets `mode`, if any.
std::optional<int> ToolRowOf(int mode);

// The palette colours `Cols(0)`..`Cols(17)`, colour values 0x00BBGGRR.
uint32_t PaletteColour(int index);

// The palette swatch under a point of the panel, if any.
std::optional<int> SwatchAt(const ToolbarLayout& layout, Point p);

}  // namespace vardo::capture
