// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/pair_permutations.h"

#include <algorithm>
#include <utility>

namespace quorel {

std::uint64_t SplitMix64::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t SplitMix64::Below(std::uint64_t bound) {
  // 2^64 mod bound, computed in 64 bits.
  const std::uint64_t threshold = (0 - bound) % bound;
  for (;;) {
    const std::uint64_t draw = Next();
    if (draw >= threshold) {
      return draw % bound;
    }
  }
}

void ShuffleLines(std::vector<std::int64_t>& order, SplitMix64& random) {
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = static_cast<std::int64_t>(i);
  }
  for (std::size_t i = order.size(); i-- > 1;) {
    std::swap(order[i], order[static_cast<std::size_t>(random.Below(i + 1))]);
  }
}

PermutationTest::PermutationTest(std::vector<CombinationSummary> cells, std::int64_t lines)
    : cells_(std::move(cells)), lines_(lines) {
  // No pairing can have more defined pairs than the largest of each line's row, summed.
  std::int64_t most = 0;
  for (std::int64_t i = 0; i < lines_; ++i) {
    std::int64_t row_most = 0;
    for (std::int64_t j = 0; j < lines_; ++j) {
      row_most = std::max(row_most, cells_[static_cast<std::size_t>(i * lines_ + j)].defined);
    }
    most += row_most;
  }
  log_factorials_ = LogFactorials(most);
  p1_rows_.resize(static_cast<std::size_t>(most + 1));
}

PairListStatistics PermutationTest::OfPairing(std::span<const std::int64_t> second_of) const {
  PairListStatistics result;
  for (std::int64_t i = 0; i < lines_; ++i) {
    const CombinationSummary& cell =
        cells_[static_cast<std::size_t>(i * lines_ + second_of[static_cast<std::size_t>(i)])];
    result.n += cell.defined;
    result.k += cell.small;
    result.log_product += cell.log_product;
  }
  result.p1 = P1(result.n, result.k);
  result.p2 = ProductOfUniformsAtMost(result.n, result.log_product, log_factorials_);
  return result;
}

PairListStatistics PermutationTest::Real() const {
  std::vector<std::int64_t> identity(static_cast<std::size_t>(lines_));
  for (std::size_t i = 0; i < identity.size(); ++i) {
    identity[i] = static_cast<std::int64_t>(i);
  }
  return OfPairing(identity);
}

PermutationRanks PermutationTest::Run(std::int64_t count, std::uint64_t seed, TieRule ties,
                                      const std::function<bool(std::int64_t)>& keep_going) const {
  const PairListStatistics real = Real();
  const auto counts_against = [ties](double permuted, double real_value) {
    return ties == TieRule::kAgainst ? permuted <= real_value : permuted < real_value;
  };
  PermutationRanks ranks;
  SplitMix64 random(seed);
  std::vector<std::int64_t> order(static_cast<std::size_t>(lines_));
  for (std::int64_t done = 0; done < count; ++done) {
    if (done % 4096 == 0 && !keep_going(done)) {
      return ranks;
    }
    ShuffleLines(order, random);
    const PairListStatistics permuted = OfPairing(order);
    ranks.p1_rank += counts_against(permuted.p1, real.p1) ? 1 : 0;
    ranks.p2_rank += counts_against(permuted.p2, real.p2) ? 1 : 0;
    ++ranks.permutations;
  }
  keep_going(count);
  return ranks;
}

double PermutationTest::P1(std::int64_t n, std::int64_t k) const {
  std::vector<double>& row = p1_rows_[static_cast<std::size_t>(n)];
  if (row.empty()) {
    row.resize(static_cast<std::size_t>(n + 1));
    for (std::int64_t j = 0; j <= n; ++j) {
      row[static_cast<std::size_t>(j)] = BinomialTailOneFifth(n, j, log_factorials_);
    }
  }
  return row[static_cast<std::size_t>(k)];
}

}  // namespace quorel
