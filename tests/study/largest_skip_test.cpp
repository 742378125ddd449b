// SPDX-License-Identifier: GPL-3.0-or-later
// The largest skip D(w): the smallest skip at which the expected number of sequences reaches 10.
#include "study/largest_skip.h"

#include <gtest/gtest.h>

#include "study_texts.h"

namespace quorel {
namespace {

using testing::Letter;

// 100 letters: 20 each of the first five.
std::u16string FiveLettersTwentyEach() {
  std::u16string letters;
  for (int i = 0; i < 100; ++i) {
    letters.push_back(Letter(i % 5));
  }
  return letters;
}

TEST(LargestSkip, IsTheFirstSkipWhereTheExpectedCountReachesTen) {
  const LetterCounts counts = LetterCounts::Of(FiveLettersTwentyEach());
  const std::u16string word = {Letter(0), Letter(1), Letter(2)};
  // Worked by hand: the product of shares is 0.2^3 = 0.008, and
  // E(D) = 2 * 0.008 * sum over d = 2..D of (100 - 2d):
  // E(7) = 0.016 * (96 + 94 + 92 + 90 + 88 + 86) = 0.016 * 546 = 8.736,
  // E(8) = 0.016 * 630 = 10.08.
  EXPECT_NEAR(ExpectedSequences(counts, word, 7), 8.736, 1e-12);
  EXPECT_NEAR(ExpectedSequences(counts, word, 8), 10.08, 1e-12);
  EXPECT_EQ(LargestSkip(counts, word), 8);
}

TEST(LargestSkip, ReadsFinalFormsAsTheirLetters) {
  // Kaf and final kaf count as one letter, in the text and in the word.
  std::u16string letters = FiveLettersTwentyEach();
  for (char16_t& c : letters) {
    if (c == Letter(4)) {
      c = u'\u05DA';  // final kaf
    }
  }
  const LetterCounts counts = LetterCounts::Of(FoldFinals(letters));
  EXPECT_DOUBLE_EQ(counts.Share(u'\u05DB'), 0.2);
  EXPECT_DOUBLE_EQ(counts.Share(u'\u05DA'), 0.2);
}

TEST(LargestSkip, IsTheLastSkipWithRoomForAWordThatNeverReachesTen) {
  const LetterCounts counts = LetterCounts::Of(FiveLettersTwentyEach());
  // 0.2^5 is far too rare in 100 letters: (100 - 1) div (5 - 1) = 24.
  const std::u16string rare = {Letter(0), Letter(1), Letter(2), Letter(3), Letter(4)};
  EXPECT_LT(ExpectedSequences(counts, rare, 24), 10.0);
  EXPECT_EQ(LargestSkip(counts, rare), 24);
  // A letter the text lacks: never.
  const std::u16string absent = {Letter(0), Letter(1), Letter(9)};
  EXPECT_EQ(LargestSkip(counts, absent), 49);
}

TEST(LargestSkip, CountsEveryStartInBothDirections) {
  // One letter only: every sequence of it is real, and E(D) is exactly twice the starts.
  const std::u16string letters(50, Letter(0));
  const LetterCounts counts = LetterCounts::Of(letters);
  const std::u16string word = {Letter(0), Letter(0), Letter(0)};
  // E(2) = 2 * 46 = 92 >= 10 already.
  EXPECT_DOUBLE_EQ(ExpectedSequences(counts, word, 2), 92.0);
  EXPECT_EQ(LargestSkip(counts, word), 2);
}

}  // namespace
}  // namespace quorel
