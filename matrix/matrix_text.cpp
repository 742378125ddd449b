// SPDX-License-Identifier: GPL-3.0-or-later
#include "matrix/matrix_text.h"

namespace quorel {

MatrixText::MatrixText(std::u16string_view letters)
    : letters_(letters), folded_(FoldFinals(letters)) {
  for (const char16_t c : folded_) {
    if (IsHebrewLetter(c)) {
      ++counts_[static_cast<std::size_t>(c - kAlef)];
    }
  }
}

double MatrixText::ChanceOfWord(std::u16string_view word) const {
  if (letters_.empty()) {
    return 0;
  }
  double chance = 1;
  for (const char16_t c : word) {
    const std::int64_t count = IsHebrewLetter(c) ? counts_[static_cast<std::size_t>(c - kAlef)] : 0;
    chance *= static_cast<double>(count) / static_cast<double>(letters_.size());
  }
  return chance;
}

std::u16string PrepareMatrixWord(std::u16string_view typed) {
  std::u16string word;
  for (const char16_t c : typed) {
    if (c == u' ' || c == u'\t') {
      continue;
    }
    if (!IsHebrewLetter(c)) {
      return {};
    }
    word += RegularLetter(c);
  }
  return word.size() >= 2 ? word : std::u16string();
}

}  // namespace quorel
