// SPDX-License-Identifier: GPL-3.0-or-later
// The letter text as a matrix reads it: the letters in their own forms for the picture, the same
// letters with final forms read as their regular letters for matching words, and each letter's
// share of the text for the number of finds that chance would give.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/hebrew_letters.h"

namespace quorel {

class MatrixText {
 public:
  // `letters` are the letters the data file held (LetterText::FileLetters()); they must outlive
  // this object.
  explicit MatrixText(std::u16string_view letters);

  // The number of letters; positions run from 1 to Length().
  std::int32_t Length() const { return static_cast<std::int32_t>(letters_.size()); }
  // The letter at 1-based `position` as the text writes it.
  char16_t At(std::int32_t position) const {
    return letters_[static_cast<std::size_t>(position - 1)];
  }
  // The letters as the text writes them, and with final forms read as their regular letters.
  std::u16string_view Letters() const { return letters_; }
  std::u16string_view Folded() const { return folded_; }

  // The chance that a start position spells `word` (folded) at a given skip: the product of its
  // letters' shares of the text, each letter's count over Length().
  double ChanceOfWord(std::u16string_view word) const;

 private:
  std::u16string_view letters_;
  std::u16string folded_;
  std::array<std::int64_t, kHebrewLetterCount> counts_{};
};

// A word as a matrix searches it: blanks around and inside it dropped, final forms read as
// their regular letters; empty when what is left is not 2 or more Hebrew letters.
std::u16string PrepareMatrixWord(std::u16string_view typed);

}  // namespace quorel
