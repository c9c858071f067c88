// The octant and axis classification of drags (callouts and ruler lines).
#include <gtest/gtest.h>

#include "common/direction.h"

namespace vardo {
namespace {

struct Row {
  int dx, dy, octant;
  Axis axis;
};

TEST(Direction, EachOctantFromTheTable) {
  const Row rows[] = {
      {10, 3, 1, Axis::kFlat},   {3, 10, 2, Axis::kSteep},  {-3, 10, 3, Axis::kSteep}, {-10, 3, 4, Axis::kFlat},
      {-10, -3, 5, Axis::kFlat}, {-3, -10, 6, Axis::kSteep}, {3, -10, 7, Axis::kSteep}, {10, -3, 8, Axis::kFlat},
      {1000, 999, 1, Axis::kFlat}, {999, 1000, 2, Axis::kSteep}, {1, -1000, 7, Axis::kSteep},
  };
  for (const Row& r : rows) {
    DirectionState s;
    ClassifyDirection(r.dx, r.dy, s);
    EXPECT_EQ(s.octant, r.octant) << r.dx << "," << r.dy;
    EXPECT_EQ(s.axis, r.axis) << r.dx << "," << r.dy;
  }
}

TEST(Direction, TiesLeaveThePreviousCodes) {
  // Exactly 45 degrees, horizontal, vertical and no movement match no row.
  const int ties[][2] = {{5, 5}, {-5, 5}, {-7, -7}, {7, -7}, {9, 0}, {-9, 0}, {0, 9}, {0, -9}, {0, 0}};
  for (int start : {2, 5, 8}) {
    for (auto& t : ties) {
      DirectionState s;
      ClassifyDirection(start == 2 ? 3 : (start == 5 ? -10 : 10), start == 2 ? 10 : -3, s);
      ASSERT_EQ(s.octant, start);
      const Axis axis = s.axis;
      ClassifyDirection(t[0], t[1], s);
      EXPECT_EQ(s.octant, start) << t[0] << "," << t[1];
      EXPECT_EQ(s.axis, axis) << t[0] << "," << t[1];
    }
  }
  DirectionState fresh;
  ClassifyDirection(4, 4, fresh);
  ClassifyDirection(0, 4, fresh);
  EXPECT_EQ(fresh.octant, 0);
  EXPECT_EQ(fresh.axis, Axis::kNone);
}

TEST(Direction, VerticalDragKeepsTheLastSlope) {
  DirectionState s;
  ClassifyDirection(10, 20, s);
  EXPECT_DOUBLE_EQ(s.slope, 2.0);
  ClassifyDirection(0, -50, s);
  EXPECT_DOUBLE_EQ(s.slope, 2.0);
  EXPECT_EQ(s.octant, 2);
}

TEST(Direction, SidesAndSteepness) {
  for (int o = 1; o <= 8; ++o) {
    EXPECT_NE(OctantOnRight(o), OctantOnLeft(o)) << o;
    EXPECT_NE(OctantIsFlat(o), OctantIsSteep(o)) << o;
  }
  EXPECT_FALSE(OctantOnRight(0) || OctantOnLeft(0) || OctantIsFlat(0) || OctantIsSteep(0));
  EXPECT_TRUE(OctantOnLeft(3) && OctantOnLeft(6) && OctantOnRight(7) && OctantOnRight(2));
  EXPECT_TRUE(OctantIsFlat(4) && OctantIsFlat(5) && OctantIsSteep(6) && OctantIsSteep(3));
}

}  // namespace
}  // namespace vardo
