// SPDX-License-Identifier: GPL-3.0-or-later
// The perturbed families: where the letters of a t-perturbed sequence lie, and that the fast
// families are exactly those of the letter-by-letter reference.
#include "study/perturbed_family.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "study_texts.h"

namespace quorel {
namespace {

using testing::Letter;
using testing::RandomLetters;
using testing::TextWith;

TEST(PerturbedPositions, MovesOnlyTheLastThreeLettersByTheTripleAsItIs) {
  struct Case {
    std::int64_t start;
    std::int32_t skip;
    int k;
    Perturbation t;
    std::vector<std::int64_t> positions;
  };
  const Case cases[] = {
      {100, 10, 5, {0, 0, 0}, {100, 110, 120, 130, 140}},
      {100, 10, 5, {1, -2, 2}, {100, 110, 121, 129, 141}},
      {100, 10, 5, {-2, -2, -2}, {100, 110, 118, 126, 134}},
      // A negative skip reads backwards; the triple is still added as it is.
      {100, -10, 5, {1, -2, 2}, {100, 90, 81, 69, 61}},
      {100, -10, 5, {-2, -2, -2}, {100, 90, 78, 66, 54}},
      // Three letters: the first letter moves too.
      {50, -3, 3, {2, 0, -1}, {52, 49, 45}},
      // Skip 2: perturbed letters can meet or change order.
      {10, 2, 4, {2, -2, -2}, {10, 14, 14, 14}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PerturbedPositions(c.start, c.skip, c.k, c.t), c.positions)
        << c.start << " " << c.skip << " (" << c.t.x << "," << c.t.y << "," << c.t.z << ")";
  }
}

TEST(PerturbedPositions, IndexGoesFromMinusTwosToTwos) {
  EXPECT_EQ(PerturbationIndex({-2, -2, -2}), 0);
  EXPECT_EQ(PerturbationIndex({0, 0, 0}), kRealPerturbation);
  EXPECT_EQ(PerturbationIndex({2, 2, 2}), kPerturbationCount - 1);
  for (int i = 0; i < kPerturbationCount; ++i) {
    EXPECT_EQ(PerturbationIndex(PerturbationAt(i)), i);
  }
}

TEST(PerturbedFamilies, FindsAPerturbedSequenceAtANegativeSkipWithItsPlainExtent) {
  const std::u16string word = {Letter(1), Letter(2), Letter(3), Letter(4), Letter(5)};
  // Start 60, skip -7, triple (1, -1, 2): positions 60, 53, 46 + 1, 39 + 0, 32 + 2.
  const std::u16string letters = TextWith(80, Letter(0), word, {60, 53, 47, 39, 34});
  const Families families = PerturbedFamilies(letters, word, 10);
  const Family& family = families[static_cast<std::size_t>(PerturbationIndex({1, -1, 2}))];
  ASSERT_EQ(family.size(), 1u);
  EXPECT_EQ(family[0].start, 60);
  EXPECT_EQ(family[0].skip, -7);
  // The plain extent: 60 - 4 * 7 = 32, whatever the letters' shifts.
  EXPECT_EQ(family[0].low, 32);
  EXPECT_EQ(family[0].high, 60);
  EXPECT_TRUE(families[kRealPerturbation].empty());
}

TEST(PerturbedFamilies, LeavesOutSkipsAboveTheLargestAndBelowTwo) {
  const std::u16string word = {Letter(1), Letter(2), Letter(3), Letter(4)};
  const std::u16string at_nine = TextWith(60, Letter(0), word, {5, 14, 23, 32});
  EXPECT_EQ(PerturbedFamilies(at_nine, word, 9)[kRealPerturbation].size(), 1u);
  EXPECT_TRUE(PerturbedFamilies(at_nine, word, 8)[kRealPerturbation].empty());
  const std::u16string at_one = TextWith(60, Letter(0), word, {5, 6, 7, 8});
  EXPECT_TRUE(PerturbedFamilies(at_one, word, 20)[kRealPerturbation].empty());
}

bool SameMembers(const Family& a, const Family& b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [](const Sequence& x, const Sequence& y) {
        return x.start == y.start && x.skip == y.skip && x.low == y.low && x.high == y.high;
      });
}

TEST(PerturbedFamilies, AgreeWithTheLetterByLetterReferenceForEveryLength) {
  // Few letters, so every family has members; words of 3 to 7 letters take each way of finding
  // the starts (none, one and several letters before the last three).
  const std::u16string letters = RandomLetters(900, 4, 7);
  const std::u16string words[] = {
      {Letter(0), Letter(1), Letter(2)},
      {Letter(2), Letter(2), Letter(0), Letter(1)},
      {Letter(3), Letter(0), Letter(1), Letter(3), Letter(2)},
      {Letter(0), Letter(1), Letter(0), Letter(2), Letter(3), Letter(1)},
      {Letter(1), Letter(0), Letter(3), Letter(3), Letter(2), Letter(0), Letter(1)},
  };
  for (const std::u16string& word : words) {
    for (const std::int32_t largest : {2, 3, 40}) {
      const Families fast = PerturbedFamilies(letters, word, largest);
      const Families direct = PerturbedFamiliesDirect(letters, word, largest);
      std::size_t members = 0;
      for (int t = 0; t < kPerturbationCount; ++t) {
        const auto at = static_cast<std::size_t>(t);
        EXPECT_TRUE(SameMembers(fast[at], direct[at]))
            << "word of " << word.size() << " letters, D " << largest << ", triple " << t;
        members += fast[at].size();
      }
      EXPECT_GT(members, 0u);
    }
  }
}

TEST(PerturbedFamilies, AreEmptyWhenALetterIsMissing) {
  const std::u16string letters = RandomLetters(300, 3, 1);
  const std::u16string word = {Letter(0), Letter(1), Letter(2), Letter(9)};
  for (const Family& family : PerturbedFamilies(letters, word, 50)) {
    EXPECT_TRUE(family.empty());
  }
}

}  // namespace
}  // namespace quorel
