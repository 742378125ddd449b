// SPDX-License-Identifier: GPL-3.0-or-later
// Verse references at the start of the lines of a text, such as "1:1", "Gen 1:1",
// "<book> 1:1", "1 1 1", "{<alef>}", "<alef>:<bet>" or "<book> <alef>' <bet>'".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel::mkdsf {

// Whether a blank-free word has the shape of a chapter or verse number: ASCII digits with
// punctuation (: . , ; - ' " brackets), or a Hebrew numeral of at most three letters that has
// a geresh or gershayim, stands in brackets, or has a separator between letters (א:א); a
// Hebrew word with only a colon or comma after it is a word of the text. Points make a word no
// number, so pointed text is never taken for one.
bool IsReferenceWord(std::u32string_view word);

// `line` without its leading verse reference: up to two words of a book name, a reference word,
// the reference words that go on from it (more numbers in digits after one in digits, Hebrew
// numerals with a geresh or a closing bracket), and the blanks after them. A line whose first
// three words hold no reference word is given back whole.
std::u32string_view WithoutVerseReference(std::u32string_view line);

// What a leading verse reference says: the words of a book name before the numbers, if any, and
// the numbers, each a run of digits or a Hebrew numeral ("1:7" gives 1 and 7, "{ק\"כ}" 120).
struct LeadingReference {
  std::vector<std::u32string> book_words;
  std::vector<std::int32_t> numbers;
};

// The reference that WithoutVerseReference would drop from `line`, read; none when the line has
// none.
std::optional<LeadingReference> ReadVerseReference(std::u32string_view line);

// The name the verse index gives book number `number`: the five books of the Michigan-Claremont
// files are Genesis, Exodus, Leviticus, Numbers and Deuteronomy; any other is "Book" and its
// number.
std::string BookName(std::int32_t number);

}  // namespace quorel::mkdsf
