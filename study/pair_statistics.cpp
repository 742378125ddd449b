// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/pair_statistics.h"

#include <algorithm>
#include <cmath>

namespace quorel {
namespace {

// ln(sum of exp(terms)), without overflow or underflow of the largest term.
double LogSumExp(std::span<const double> terms) {
  const double largest = *std::max_element(terms.begin(), terms.end());
  double sum = 0.0;
  for (const double term : terms) {
    sum += std::exp(term - largest);
  }
  return largest + std::log(sum);
}

}  // namespace

std::vector<double> LogFactorials(std::int64_t n) {
  std::vector<double> result(static_cast<std::size_t>(n + 1), 0.0);
  for (std::int64_t j = 2; j <= n; ++j) {
    result[static_cast<std::size_t>(j)] =
        result[static_cast<std::size_t>(j - 1)] + std::log(static_cast<double>(j));
  }
  return result;
}

double BinomialTailOneFifth(std::int64_t n, std::int64_t k,
                            std::span<const double> log_factorials) {
  if (k <= 0) {
    return 1.0;
  }
  if (k > n) {
    return 0.0;
  }
  const double log_fifth = std::log(0.2);
  const double log_four_fifths = std::log(0.8);
  std::vector<double> terms;
  for (std::int64_t j = k; j <= n; ++j) {
    terms.push_back(
        log_factorials[static_cast<std::size_t>(n)] - log_factorials[static_cast<std::size_t>(j)] -
        log_factorials[static_cast<std::size_t>(n - j)] + static_cast<double>(j) * log_fifth +
        static_cast<double>(n - j) * log_four_fifths);
  }
  return std::min(1.0, std::exp(LogSumExp(terms)));
}

double ProductOfUniformsAtMost(std::int64_t n, double log_x,
                               std::span<const double> log_factorials) {
  // -ln x is 0 when every c is 1: then x = 1 and so is F.
  if (n <= 0 || log_x >= 0.0) {
    return 1.0;
  }
  const double log_minus_log_x = std::log(-log_x);
  double largest = -HUGE_VAL;
  for (std::int64_t j = 0; j < n; ++j) {
    largest = std::max(largest, static_cast<double>(j) * log_minus_log_x -
                                    log_factorials[static_cast<std::size_t>(j)]);
  }
  double sum = 0.0;
  for (std::int64_t j = 0; j < n; ++j) {
    sum += std::exp(static_cast<double>(j) * log_minus_log_x -
                    log_factorials[static_cast<std::size_t>(j)] - largest);
  }
  return std::min(1.0, std::exp(log_x + largest + std::log(sum)));
}

PairListStatistics StatisticsOf(std::span<const Fraction> distances) {
  PairListStatistics result;
  for (const Fraction c : distances) {
    ++result.n;
    if (AtMostOneFifth(c)) {
      ++result.k;
    }
    result.log_product +=
        std::log(static_cast<double>(c.numerator) / static_cast<double>(c.denominator));
  }
  const std::vector<double> log_factorials = LogFactorials(result.n);
  result.p1 = BinomialTailOneFifth(result.n, result.k, log_factorials);
  result.p2 = ProductOfUniformsAtMost(result.n, result.log_product, log_factorials);
  return result;
}

}  // namespace quorel
