// SPDX-License-Identifier: GPL-3.0-or-later
// The permutation test of a list of word pairs: the first words of each line paired at random
// with the second words of the lines, and the real P1 and P2 ranked among those of the
// re-pairings. The corrected distances of every combination of lines are computed beforehand,
// once; a re-pairing only adds up their summaries.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "study/pair_statistics.h"

namespace quorel {

// SplitMix64 (Steele, Lea and Flood 2014): the same numbers from the same seed on every machine.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // A number uniform in 0..bound-1 (bound >= 1): draws below 2^64 mod bound are drawn again.
  std::uint64_t Below(std::uint64_t bound);

 private:
  std::uint64_t state_;
};

// A uniform random permutation of 0..size-1 by the Fisher-Yates shuffle, from the last place
// down: place i swaps with place Below(i + 1). `order` is reset to 0..size-1 first.
void ShuffleLines(std::vector<std::int64_t>& order, SplitMix64& random);

// What the pairs of line i's first words with line j's second words add to the statistics.
struct CombinationSummary {
  std::int64_t defined = 0;  // pairs of forms with c defined
  std::int64_t small = 0;    // of them, with c <= 1/5
  double log_product = 0.0;  // ln of the product of their c
};

// A tie with the real value counts against the real pairing (the rank grows) or for it.
enum class TieRule { kAgainst, kFor };

struct PermutationRanks {
  std::int64_t permutations = 0;  // re-pairings tried
  // 1 + the number of re-pairings whose P1 (P2) is smaller than the real one, or equal under
  // TieRule::kAgainst: the real pairing's rank among permutations + 1 values.
  std::int64_t p1_rank = 1;
  std::int64_t p2_rank = 1;
};

class PermutationTest {
 public:
  // `cells[i * lines + j]` for the first words of line i with the second words of line j.
  PermutationTest(std::vector<CombinationSummary> cells, std::int64_t lines);

  std::int64_t Lines() const { return lines_; }
  // The statistics when line i's first words go with line second_of[i]'s second words.
  PairListStatistics OfPairing(std::span<const std::int64_t> second_of) const;
  // The real pairing, each line with itself.
  PairListStatistics Real() const;

  // Tries `count` re-pairings drawn from `seed`, the same ones in the same order every time.
  // `keep_going(done)` is asked every 4096 re-pairings; when it says no, the ranks so far are
  // returned, with `permutations` saying how many were tried.
  PermutationRanks Run(std::int64_t count, std::uint64_t seed, TieRule ties,
                       const std::function<bool(std::int64_t)>& keep_going) const;

 private:
  double P1(std::int64_t n, std::int64_t k) const;

  std::vector<CombinationSummary> cells_;
  std::int64_t lines_;
  std::vector<double> log_factorials_;
  // P1 for every n and k, made one row of n at a time when first needed.
  mutable std::vector<std::vector<double>> p1_rows_;
};

}  // namespace quorel
