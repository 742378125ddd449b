// SPDX-License-Identifier: GPL-3.0-or-later
// P1 and P2 against values worked by hand.
#include "study/pair_statistics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorel {
namespace {

TEST(BinomialTailOneFifth, MatchesHandValues) {
  const std::vector<double> log_factorials = LogFactorials(40);
  // N 3, k 2: 3 * 0.2² * 0.8 + 0.2³ = 0.096 + 0.008.
  EXPECT_NEAR(BinomialTailOneFifth(3, 2, log_factorials), 0.104, 1e-14);
  // N 1, k 1: 0.2.
  EXPECT_NEAR(BinomialTailOneFifth(1, 1, log_factorials), 0.2, 1e-15);
  // N 10, k 10: 0.2^10.
  EXPECT_NEAR(BinomialTailOneFifth(10, 10, log_factorials), 1.024e-7, 1e-20);
  // N 4, k 1: 1 - 0.8^4 = 0.5904.
  EXPECT_NEAR(BinomialTailOneFifth(4, 1, log_factorials), 0.5904, 1e-14);
  EXPECT_EQ(BinomialTailOneFifth(5, 0, log_factorials), 1.0);
  EXPECT_EQ(BinomialTailOneFifth(5, 6, log_factorials), 0.0);
  // 40 of 40: 0.2^40 = 1.0995e-28, far below any sum's rounding.
  EXPECT_NEAR(BinomialTailOneFifth(40, 40, log_factorials) / std::pow(0.2, 40), 1.0, 1e-12);
}

TEST(ProductOfUniformsAtMost, MatchesHandValues) {
  const std::vector<double> log_factorials = LogFactorials(400);
  // N 1: F(x) = x.
  EXPECT_NEAR(ProductOfUniformsAtMost(1, std::log(0.3), log_factorials), 0.3, 1e-15);
  // N 2, x 0.1: 0.1 * (1 + ln 10) = 0.330258509...
  EXPECT_NEAR(ProductOfUniformsAtMost(2, std::log(0.1), log_factorials), 0.33025850929940458,
              1e-14);
  // N 3, x 1/8: (1 + ln 8 + (ln 8)² / 2) / 8 = 0.655185...
  const double u = std::log(8.0);
  EXPECT_NEAR(ProductOfUniformsAtMost(3, -u, log_factorials), (1 + u + u * u / 2) / 8, 1e-14);
  // x = 1: F = 1.
  EXPECT_EQ(ProductOfUniformsAtMost(3, 0.0, log_factorials), 1.0);
}

TEST(ProductOfUniformsAtMost, StaysFiniteForProductsBelowTheSmallestDouble) {
  const std::vector<double> log_factorials = LogFactorials(400);
  // The product of 400 values around e^-2.5 is e^-1000, below the smallest double; F, about
  // e^-234, is not.
  const double f = ProductOfUniformsAtMost(400, -1000.0, log_factorials);
  EXPECT_GT(f, 0.0);
  EXPECT_LT(f, 1.0);
  // F grows with x.
  EXPECT_LT(f, ProductOfUniformsAtMost(400, -999.0, log_factorials));
}

TEST(StatisticsOf, CountsSmallValuesOnTheFractionsThemselves) {
  // 1/5 counts as small (c <= 1/5); 26/125 does not.
  const Fraction distances[] = {{2, 125}, {25, 125}, {26, 125}};
  const PairListStatistics s = StatisticsOf(distances);
  EXPECT_EQ(s.n, 3);
  EXPECT_EQ(s.k, 2);
  EXPECT_NEAR(s.p1, 0.104, 1e-14);
  const double x = (2.0 / 125) * (25.0 / 125) * (26.0 / 125);
  const double v = -std::log(x);
  EXPECT_NEAR(s.p2, x * (1 + v + v * v / 2), 1e-14);
}

}  // namespace
}  // namespace quorel
