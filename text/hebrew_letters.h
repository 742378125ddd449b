// SPDX-License-Identifier: GPL-3.0-or-later
// The Hebrew letters: the 22 letters and the 5 final forms, U+05D0..U+05EA, and how a final form
// is read as its regular letter.
#pragma once

#include <string>
#include <string_view>

namespace quorel {

// The first and last Hebrew letters, alef and tav; the five final forms lie between them.
inline constexpr char16_t kAlef = u'\u05D0';
inline constexpr char16_t kTav = u'\u05EA';
// The number of characters from alef to tav, final forms included.
inline constexpr int kHebrewLetterCount = 27;

// Exactly the 27 letters U+05D0..U+05EA, final forms included: the characters whose
// Windows-1255 codes lie from the code of alef to the code of tav.
constexpr bool IsHebrewLetter(char16_t c) {
  return c >= kAlef && c <= kTav;
}
// The same for a character of a decoded UTF-8 text, which may lie past U+FFFF.
constexpr bool IsHebrewLetter(char32_t c) {
  return c >= kAlef && c <= kTav;
}

// Each final form (ך ם ן ף ץ) stands just before its regular letter (כ מ נ פ צ).
constexpr bool IsFinalForm(char16_t c) {
  return c == u'\u05DA' || c == u'\u05DD' || c == u'\u05DF' || c == u'\u05E3' || c == u'\u05E5';
}

// The regular letter of a final form; any other character as it is.
constexpr char16_t RegularLetter(char16_t c) {
  return IsFinalForm(c) ? static_cast<char16_t>(c + 1) : c;
}

// Kaf, mem, nun, pe and tsadi: the letters that take a final form at the end of a word.
constexpr bool HasFinalForm(char32_t letter) {
  return IsHebrewLetter(letter) && IsFinalForm(static_cast<char16_t>(letter - 1));
}

// The final form of a letter that HasFinalForm: the code just before it.
constexpr char32_t FinalForm(char32_t letter) {
  return letter - 1;
}

// `text` with every final form read as its regular letter.
inline std::u16string FoldFinals(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) {
    c = RegularLetter(c);
  }
  return folded;
}

}  // namespace quorel
