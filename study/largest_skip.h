// SPDX-License-Identifier: GPL-3.0-or-later
// The largest skip D(w) of a word's families: the smallest skip up to which the expected number
// of its sequences, both directions together, reaches 10.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "text/hebrew_letters.h"

namespace quorel {

inline constexpr double kExpectedSequencesWanted = 10.0;

// How often each letter alef..tav occurs in a text whose final forms are already folded.
struct LetterCounts {
  std::int64_t length = 0;
  std::array<std::int64_t, kHebrewLetterCount> counts{};

  static LetterCounts Of(std::u16string_view letters);
  // The share of `letter` in the text, 0 for a character that is not a letter.
  double Share(char16_t letter) const;
};

// E(D) = 2 * sum over d = 2..D of max(0, L - (k - 1) d) * product of the word's letter shares.
double ExpectedSequences(const LetterCounts& counts, std::u16string_view word, std::int32_t skip);

// The smallest D >= 2 with E(D) >= 10, or, for a word that never gets there, the largest skip at
// which it still fits, (L - 1) div (k - 1). The sum over d runs on, one skip at a time.
std::int32_t LargestSkip(const LetterCounts& counts, std::u16string_view word);

}  // namespace quorel
