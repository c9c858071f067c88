#include "common/direction.h"

#include <cstdlib>

namespace vardo {

void ClassifyDirection(int dx, int dy, DirectionState& state) {
  if (dx != 0) state.slope = static_cast<double>(std::abs(dy)) / std::abs(dx);
  if (dx == 0 || dy == 0 || state.slope == 1.0) return;
  const bool flat = state.slope < 1.0;
  int octant;
  if (dx > 0 && dy > 0) octant = flat ? 1 : 2;
  else if (dx < 0 && dy > 0) octant = flat ? 4 : 3;
  else if (dx < 0) octant = flat ? 5 : 6;
  else octant = flat ? 8 : 7;
  state.octant = octant;
  state.axis = flat ? Axis::kFlat : Axis::kSteep;
}

bool OctantOnRight(int o) { return o == 1 || o == 2 || o == 7 || o == 8; }
bool OctantOnLeft(int o) { return o >= 3 && o <= 6; }
bool OctantIsFlat(int o) { return o == 1 || o == 4 || o == 5 || o == 8; }
bool OctantIsSteep(int o) { return o == 2 || o == 3 || o == 6 || o == 7; }

}  // namespace vardo
