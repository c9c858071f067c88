// Direction of a drag from its start point, as the picker's callouts and the
// ruler's lines classify it: which octant the pointer is in and whether the
// drag is flatter or steeper than 45 degrees. y grows downward.
#pragma once

namespace vardo {

// Octants, counted clockwise from "right and a little down":
//   1: dx > 0, dy > 0, flat     2: dx > 0, dy > 0, steep
//   3: dx < 0, dy > 0, steep    4: dx < 0, dy > 0, flat
//   5: dx < 0, dy < 0, flat     6: dx < 0, dy < 0, steep
//   7: dx > 0, dy < 0, steep    8: dx > 0, dy < 0, flat
// 0 means "not classified yet".
enum class Axis { kNone = 0, kFlat = 1, kSteep = 2 };

struct DirectionState {
  int octant = 0;        // 0..8
  Axis axis = Axis::kNone;
  double slope = 0;      // |dy| / |dx| of the last drag with dx != 0
};

// Classifies the drag (dx, dy). Exactly 45 degrees, horizontal, vertical and
// zero drags match no octant and leave the codes as they were, so a drag
// that touches a boundary keeps its previous layout instead of flickering.
void ClassifyDirection(int dx, int dy, DirectionState& state);

// The octant's side and steepness (false for 0).
bool OctantOnRight(int octant);  // 1, 2, 7, 8
bool OctantOnLeft(int octant);   // 3..6
bool OctantIsFlat(int octant);   // 1, 4, 5, 8
bool OctantIsSteep(int octant);  // 2, 3, 6, 7

}  // namespace vardo
