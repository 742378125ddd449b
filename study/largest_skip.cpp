// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/largest_skip.h"

#include <algorithm>
#include <limits>

namespace quorel {
namespace {

double ShareProduct(const LetterCounts& counts, std::u16string_view word) {
  double product = 1.0;
  for (const char16_t letter : word) {
    product *= counts.Share(letter);
  }
  return product;
}

// The largest skip with room for a word of k letters, (L - 1) div (k - 1).
std::int64_t LastSkipWithRoom(std::int64_t length, std::int64_t k) {
  if (k < 2 || length < 1) {
    return 0;
  }
  return std::min<std::int64_t>((length - 1) / (k - 1), std::numeric_limits<std::int32_t>::max());
}

}  // namespace

LetterCounts LetterCounts::Of(std::u16string_view letters) {
  LetterCounts result;
  result.length = static_cast<std::int64_t>(letters.size());
  for (const char16_t c : letters) {
    if (IsHebrewLetter(c)) {
      ++result.counts[static_cast<std::size_t>(RegularLetter(c) - kAlef)];
    }
  }
  return result;
}

double LetterCounts::Share(char16_t letter) const {
  if (!IsHebrewLetter(letter) || length == 0) {
    return 0.0;
  }
  const std::int64_t count = counts[static_cast<std::size_t>(RegularLetter(letter) - kAlef)];
  return static_cast<double>(count) / static_cast<double>(length);
}

double ExpectedSequences(const LetterCounts& counts, std::u16string_view word, std::int32_t skip) {
  const auto k = static_cast<std::int64_t>(word.size());
  // The number of starts is a whole number at every skip, so their sum is kept exactly.
  std::int64_t starts = 0;
  for (std::int64_t d = 2; d <= skip; ++d) {
    starts += std::max<std::int64_t>(0, counts.length - (k - 1) * d);
  }
  return 2.0 * static_cast<double>(starts) * ShareProduct(counts, word);
}

std::int32_t LargestSkip(const LetterCounts& counts, std::u16string_view word) {
  const auto k = static_cast<std::int64_t>(word.size());
  const std::int64_t last = LastSkipWithRoom(counts.length, k);
  const double product = ShareProduct(counts, word);
  // Summed exactly in whole numbers, so E is rounded once however many skips it covers.
  std::int64_t starts = 0;
  for (std::int64_t d = 2; d <= last; ++d) {
    starts += counts.length - (k - 1) * d;
    if (2.0 * static_cast<double>(starts) * product >= kExpectedSequencesWanted) {
      return static_cast<std::int32_t>(d);
    }
  }
  return static_cast<std::int32_t>(last);
}

}  // namespace quorel
