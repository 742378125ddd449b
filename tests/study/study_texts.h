// SPDX-License-Identifier: GPL-3.0-or-later
// Small letter texts for the tests of the corrected distance, made by the tests themselves.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "text/hebrew_letters.h"

namespace quorel::testing {

// The letter `index` letters after alef (0 is alef), regular letters only.
inline char16_t Letter(int index) {
  return static_cast<char16_t>(kAlef + index);
}

// A text of `length` letters drawn from the first `alphabet` letters after alef, final forms
// skipped, the same for the same seed.
inline std::u16string RandomLetters(std::int64_t length, int alphabet, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::u16string letters;
  while (static_cast<std::int64_t>(letters.size()) < length) {
    const char16_t c = Letter(static_cast<int>(random() % static_cast<std::uint32_t>(alphabet)));
    if (!IsFinalForm(c)) {
      letters.push_back(c);
    }
  }
  return letters;
}

// A text of `length` copies of `filler` with `word`'s letters put at `positions`.
inline std::u16string TextWith(std::int64_t length, char16_t filler, std::u16string_view word,
                               std::initializer_list<std::int64_t> positions) {
  std::u16string letters(static_cast<std::size_t>(length), filler);
  std::size_t j = 0;
  for (const std::int64_t p : positions) {
    letters[static_cast<std::size_t>(p)] = word[j++];
  }
  return letters;
}

}  // namespace quorel::testing
