// SPDX-License-Identifier: GPL-3.0-or-later
// The overall statistics of a list of word pairs, from the corrected distances of its pairs:
// P1 counts the small distances, P2 multiplies them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quorel {

// A corrected distance c = numerator / denominator, 0 < c <= 1.
struct Fraction {
  std::int64_t numerator = 0;
  std::int64_t denominator = 1;
};

// c <= 1/5, decided on the whole numbers.
constexpr bool AtMostOneFifth(Fraction c) {
  return 5 * c.numerator <= c.denominator;
}

// ln(j!) for j = 0..n, summed from the logarithms of whole numbers.
std::vector<double> LogFactorials(std::int64_t n);

// P1 = the sum over j >= k of C(n, j) (1/5)^j (4/5)^(n - j), summed in logarithms. 1 for k <= 0,
// 0 for k > n.
double BinomialTailOneFifth(std::int64_t n, std::int64_t k, std::span<const double> log_factorials);

// P2 = F_n(x) for x = exp(log_x) <= 1: F_n(x) = x * sum over j = 0..n-1 of (-ln x)^j / j!, the
// chance that the product of n independent uniform numbers is at most x. Summed in logarithms so
// a product far below the smallest double still gives its value; never above 1. 1 for n = 0.
double ProductOfUniformsAtMost(std::int64_t n, double log_x,
                               std::span<const double> log_factorials);

struct PairListStatistics {
  std::int64_t n = 0;        // pairs with c defined
  std::int64_t k = 0;        // of them, with c <= 1/5
  double log_product = 0.0;  // ln of the product of their c
  double p1 = 1.0;
  double p2 = 1.0;
};

PairListStatistics StatisticsOf(std::span<const Fraction> distances);

}  // namespace quorel
