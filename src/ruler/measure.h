// The ruler's measuring rules: which axis a drag snaps to, where the line,
// its end ticks and its label go, and how its length reads. Positions are
// physical pixels on the frozen picture; lengths are figured in twips at
// 1440/DPI per pixel, so they read in physical pixels at every DPI.
#pragma once
#include <string>

#include "common/direction.h"
#include "common/geometry.h"

namespace vardo::ruler {

// The axis code for a drag of (dx, dy) from the line's start: the picker's
// direction classification (flatter or steeper than 45 degrees; exactly 45
// degrees and no movement keep the previous code), and a drag exactly along
// an axis takes that axis.
void UpdateAxis(int dx, int dy, DirectionState& state);

// One laid-out measuring line. Both ends of every segment are drawn.
struct LineGeometry {
  Point start;
  Point end;
  Point start_tick_a, start_tick_b;  // across the start
  Point end_tick_a, end_tick_b;      // across the end
  Point label;                       // label's top-left corner
};

// Lays the line out for the pointer: snapped to the axis (which must be
// kFlat or kSteep), ticks of `tick_half` pixels on each side, the label's
// corner at the segment's midpoint.
LineGeometry LayoutLine(Point start, Point pointer, Axis axis, int tick_half);

// Length of the segment in twips at the DPI.
double LengthTwips(Point a, Point b, int dpi);
// "Npx": the length in pixels plus one (both end pixels count), written
// as a decimal number without rounding ("101px", "1px").
std::string LengthText(double twips, int dpi);

// Pixels the segment and ticks cover (without the label).
Rect StrokeBounds(const LineGeometry& g);

}  // namespace vardo::ruler
