// SPDX-License-Identifier: GPL-3.0-or-later
// Letter texts in the Michigan-Claremont transliteration: one ASCII character per consonant,
// )BGDHWZX+YKLMNS(PCQR$T for alef to tav, and no final forms.
#pragma once

#include <string>
#include <string_view>

namespace quorel::mkdsf {

// The Hebrew letter (regular form) that a transliteration character stands for, or 0. Besides
// the 22 consonants, & is taken as sin, which the consonantal text writes as shin.
char32_t McLetter(char32_t c);

// Whether `c` ends a word: blanks, line breaks and the maqaf '-'. Every other character that is
// no consonant (vowel and accent codes, digits, '/' and the like) is dropped without ending the
// word it stands in.
bool EndsMcWord(char32_t c);

// Appends the data-file byte of each consonant of `line`, writing kaf, mem, nun, pe and tsadi in
// their final forms at the end of a word; the end of the line ends a word.
void AppendMcLetters(std::u32string_view line, std::string& bytes);

}  // namespace quorel::mkdsf
