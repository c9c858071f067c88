#include "controls/center_text.h"

namespace vardo::controls {

Point CentreLabel(Size inner, Size label) {
  // Floor division, so an overhang splits the same way on both sides.
  auto half = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
  return Point{half(inner.width - label.width), half(inner.height - label.height)};
}

}  // namespace vardo::controls
