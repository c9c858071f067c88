// Where the centred text control (CenterText) puts its one line of text.
#pragma once
#include "common/geometry.h"

namespace vardo::controls {

// Top-left of a label of size `label` centred in `inner`; a label larger
// than the control overhangs it equally on both sides.
Point CentreLabel(Size inner, Size label);

}  // namespace vardo::controls
