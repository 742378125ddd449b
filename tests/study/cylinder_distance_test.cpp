// SPDX-License-Identifier: GPL-3.0-or-later
// Distances on the cylinder and the row widths of a skip.
#include "study/cylinder_distance.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(CylinderDistanceSquared, TakesTheShorterWayRound) {
  struct Case {
    std::int64_t distance, width, squared;
  };
  const Case cases[] = {
      {23, 10, 13},  // q 2, r 3: 4 + 9 = 13 straight; 9 + 49 = 58 the other way
      {28, 10, 13},  // q 2, r 8: 4 + 64 = 68 straight; 9 + 4 = 13 round the cylinder
      {25, 10, 29},  // q 2, r 5: 4 + 25 = 29 straight; 9 + 25 = 34 round
      {30, 10, 9},   // whole rows: straight down
      {7, 1, 49},    // width 1: every letter a row
      {3, 7, 9},     // within one row
      {6, 7, 2},     // q 0, r 6: 36 straight; 1 + 1 = 2 round
      {0, 5, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CylinderDistanceSquared(c.distance, c.width), c.squared)
        << c.distance << " on width " << c.width;
  }
}

TEST(RowWidths, RoundHalvesUpAndReachZeroForSmallSkips) {
  // |d| / i: 5, 2.5, 1.67, 1.25, 1, 0.83, 0.71, 0.625, 0.56, 0.5.
  EXPECT_EQ(RowWidths(5), (std::array<std::int64_t, 10>{5, 3, 2, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(RowWidths(-5), RowWidths(5));
  // 2 / i: 2, 1, 0.67, 0.5, 0.4 ...: widths of 0 from i = 5 on.
  EXPECT_EQ(RowWidths(2), (std::array<std::int64_t, 10>{2, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
  // 7 / 2 = 3.5 up to 4; 7 / 6 = 1.17 down to 1; 7 / 10 = 0.7 up to 1.
  EXPECT_EQ(RowWidths(7), (std::array<std::int64_t, 10>{7, 4, 2, 2, 1, 1, 1, 1, 1, 1}));
  // 100 / 8 = 12.5 up to 13.
  EXPECT_EQ(RowWidths(100)[7], 13);
}

}  // namespace
}  // namespace quorel
