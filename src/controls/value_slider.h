// The value slider's rules (SValue): the range 0..Max spans the control's
// inner width, so a pointer position is directly a value; values are
// clamped and made whole; the track and the thumb are fractions of the
// control's size.
#pragma once
#include <string>

#include "common/geometry.h"

namespace vardo::controls {

// The value a slider takes for an input `v`: 0 below zero, exactly `max`
// above it (unless `over_maxable`), otherwise `v` rounded to a whole number
// with halves going to the even neighbour (2.5 gives 2, 3.5 gives 4).
float SliderValue(float v, float max, bool over_maxable);

// The value under a pointer `x_px` pixels from the inner left edge of a
// control `width_px` pixels wide (unclamped: left of it is negative).
float ValueAtPixel(int x_px, int width_px, float max);

// The track: the full inner width, from a third of the height down, a
// quarter of the height high.
Rect TrackRect(Size inner);
// The thumb: 20 value units wide centred on `value`, the full height. Its
// part beyond the control is simply not seen.
Rect ThumbRect(Size inner, float max, float value);

// A slider value as the paired box shows it: whole numbers without a
// fraction, others with as many digits as they need ("5", "2.5").
std::string ValueText(float value);

}  // namespace vardo::controls
