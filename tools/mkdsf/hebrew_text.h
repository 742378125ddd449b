// SPDX-License-Identifier: GPL-3.0-or-later
// The Hebrew letters of a Unicode text, pointed or not.
#pragma once

#include <string>
#include <string_view>

namespace quorel::mkdsf {

// The letters that the character `c` stands for: a Hebrew letter stands for itself, final forms
// as they are; the Yiddish ligatures and the presentation forms (a letter with its point, a wide
// letter) stand for their letters. Every other character (points, cantillation marks, maqaf,
// sof pasuq, punctuation, digits, Latin text, blanks, line breaks) stands for none.
std::u32string_view LettersOf(char32_t c);

// Appends the data-file byte of each letter of `text`, in order.
void AppendHebrewLetters(std::u32string_view text, std::string& bytes);

}  // namespace quorel::mkdsf
