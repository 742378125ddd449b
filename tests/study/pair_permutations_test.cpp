// SPDX-License-Identifier: GPL-3.0-or-later
// The generator, the shuffle and the ranks of the permutation test, ties included.
#include "study/pair_permutations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace quorel {
namespace {

TEST(SplitMix64, GivesTheReferenceSequence) {
  // The first outputs of the published SplitMix64 for seed 1234567.
  SplitMix64 random(1234567);
  EXPECT_EQ(random.Next(), 6457827717110365317ULL);
  EXPECT_EQ(random.Next(), 3203168211198807973ULL);
  EXPECT_EQ(random.Next(), 9817491932198370423ULL);
  EXPECT_EQ(random.Next(), 4593380528125082431ULL);
  EXPECT_EQ(random.Next(), 16408922859458223821ULL);
}

TEST(ShuffleLines, GivesEveryPermutationOfThreeAboutEqually) {
  SplitMix64 random(42);
  std::vector<std::int64_t> order(3);
  std::map<std::vector<std::int64_t>, int> seen;
  for (int i = 0; i < 60000; ++i) {
    ShuffleLines(order, random);
    ++seen[order];
  }
  ASSERT_EQ(seen.size(), 6u);
  for (const auto& [permutation, times] : seen) {
    EXPECT_NEAR(times, 10000, 400);
  }
}

// Three lines; the real pairing (the diagonal) has c = 1/125 on every line, every other
// combination c = 1: no re-pairing but the real one comes close.
std::vector<CombinationSummary> DiagonalCells(double off_diagonal_log) {
  std::vector<CombinationSummary> cells(9);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      CombinationSummary& cell = cells[static_cast<std::size_t>(i * 3 + j)];
      cell.defined = 1;
      cell.small = i == j ? 1 : 0;
      cell.log_product = i == j ? std::log(1.0 / 125) : off_diagonal_log;
    }
  }
  return cells;
}

std::int64_t IdentityDraws(std::int64_t count, std::uint64_t seed) {
  SplitMix64 random(seed);
  std::vector<std::int64_t> order(3);
  std::int64_t identity = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    ShuffleLines(order, random);
    identity += order == std::vector<std::int64_t>{0, 1, 2} ? 1 : 0;
  }
  return identity;
}

TEST(PermutationTest, RanksTheRealPairingAmongTheReparingsWithTies) {
  const PermutationTest test(DiagonalCells(0.0), 3);
  const PairListStatistics real = test.Real();
  EXPECT_EQ(real.n, 3);
  EXPECT_EQ(real.k, 3);
  EXPECT_NEAR(real.p1, 0.008, 1e-15);
  const auto always = [](std::int64_t) { return true; };
  // Only a re-pairing that is the identity again ties with the real pairing.
  const std::int64_t ties = IdentityDraws(6000, 9);
  EXPECT_GT(ties, 0);
  const PermutationRanks against = test.Run(6000, 9, TieRule::kAgainst, always);
  EXPECT_EQ(against.permutations, 6000);
  EXPECT_EQ(against.p1_rank, 1 + ties);
  EXPECT_EQ(against.p2_rank, 1 + ties);
  const PermutationRanks for_real = test.Run(6000, 9, TieRule::kFor, always);
  EXPECT_EQ(for_real.p1_rank, 1);
  EXPECT_EQ(for_real.p2_rank, 1);
}

TEST(PermutationTest, CountsEveryReparingWhenAllTie) {
  // Every combination alike: every re-pairing ties with the real one in P1 and P2.
  std::vector<CombinationSummary> cells(16, CombinationSummary{2, 1, std::log(0.01)});
  const PermutationTest test(cells, 4);
  const auto always = [](std::int64_t) { return true; };
  const PermutationRanks against = test.Run(1000, 3, TieRule::kAgainst, always);
  EXPECT_EQ(against.p1_rank, 1001);
  EXPECT_EQ(against.p2_rank, 1001);
  EXPECT_EQ(test.Run(1000, 3, TieRule::kFor, always).p1_rank, 1);
}

TEST(PermutationTest, StopsWhenToldAndSaysHowFarItGot) {
  const PermutationTest test(DiagonalCells(0.0), 3);
  const PermutationRanks ranks =
      test.Run(100000, 1, TieRule::kAgainst, [](std::int64_t done) { return done < 8192; });
  EXPECT_EQ(ranks.permutations, 8192);
}

TEST(PermutationTest, GivesTheSameRanksForTheSameSeed) {
  const PermutationTest test(DiagonalCells(std::log(0.5)), 3);
  const auto always = [](std::int64_t) { return true; };
  const PermutationRanks a = test.Run(5000, 77, TieRule::kAgainst, always);
  const PermutationRanks b = test.Run(5000, 77, TieRule::kAgainst, always);
  EXPECT_EQ(a.p1_rank, b.p1_rank);
  EXPECT_EQ(a.p2_rank, b.p2_rank);
}

}  // namespace
}  // namespace quorel
