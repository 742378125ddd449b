// SPDX-License-Identifier: GPL-3.0-or-later
#include "verse_reference.h"

#include <algorithm>

#include "text/data_file_bytes.h"

namespace quorel::mkdsf {
namespace {

// A book name of more words than this before the numbers is not taken for a reference.
constexpr int kMostBookNameWords = 2;
constexpr std::size_t kMostNumeralLetters = 3;

bool IsBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\u00A0' || c == U'\uFEFF';
}

bool IsDigit(char32_t c) {
  return c >= U'0' && c <= U'9';
}

bool IsGeresh(char32_t c) {
  return c == U'\'' || c == U'"' || c == U'\u05F3' || c == U'\u05F4';
}

bool IsClosingBracket(char32_t c) {
  return c == U')' || c == U']' || c == U'}';
}

bool IsReferenceMark(char32_t c) {
  switch (c) {
    case U':':
    case U'.':
    case U',':
    case U';':
    case U'-':
    case U'(':
    case U')':
    case U'[':
    case U']':
    case U'{':
    case U'}':
      return true;
    default:
      return IsGeresh(c);
  }
}

// Splits off the next word of `rest`, skipping the blanks before it; empty at the end.
std::u32string_view NextWord(std::u32string_view& rest) {
  std::size_t start = 0;
  while (start < rest.size() && IsBlank(rest[start])) {
    ++start;
  }
  std::size_t end = start;
  while (end < rest.size() && !IsBlank(rest[end])) {
    ++end;
  }
  const std::u32string_view word = rest.substr(start, end - start);
  rest.remove_prefix(end);
  return word;
}

std::u32string_view WithoutLeadingBlanks(std::u32string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

enum class NumberKind { kNone, kDigits, kHebrewNumeral };

bool IsSeparator(char32_t c) {
  return c == U':' || c == U'.' || c == U',' || c == U';' || c == U'-';
}

// Whether the letters of a Hebrew numeral word have the shape of a reference: a geresh or
// gershayim (א׳, קכ"ג), a closing bracket ({א}, the א) of "(בראשית א, א)"), or a separator with
// letters on both sides (א:א). A colon or a comma after a word alone (משה:, לו,) is the text's
// own punctuation.
bool HasNumeralShape(std::u32string_view word) {
  if (std::any_of(word.begin(), word.end(), IsGeresh) || IsClosingBracket(word.back())) {
    return true;
  }
  for (std::size_t k = 1; k + 1 < word.size(); ++k) {
    if (IsSeparator(word[k]) && IsHebrewLetter(word[k - 1]) && IsHebrewLetter(word[k + 1])) {
      return true;
    }
  }
  return false;
}

NumberKind KindOf(std::u32string_view word) {
  std::size_t digits = 0;
  std::size_t letters = 0;
  for (const char32_t c : word) {
    if (IsDigit(c)) {
      ++digits;
    } else if (IsHebrewLetter(c)) {
      ++letters;
    } else if (!IsReferenceMark(c)) {
      return NumberKind::kNone;
    }
  }
  if (digits > 0) {
    return letters == 0 ? NumberKind::kDigits : NumberKind::kNone;
  }
  if (letters > 0 && letters <= kMostNumeralLetters && HasNumeralShape(word)) {
    return NumberKind::kHebrewNumeral;
  }
  return NumberKind::kNone;
}

// Whether `word` goes on the reference that began with a number of `first` kind. A short
// Hebrew word with a comma or a colon after it may be the text's own, so a Hebrew numeral goes
// on only when it carries a geresh or closes a bracket.
bool ContinuesReference(std::u32string_view word, NumberKind first) {
  switch (KindOf(word)) {
    case NumberKind::kDigits:
      return first == NumberKind::kDigits;
    case NumberKind::kHebrewNumeral:
      return std::any_of(word.begin(), word.end(), IsGeresh) || IsClosingBracket(word.back());
    case NumberKind::kNone:
      break;
  }
  return false;
}

}  // namespace

bool IsReferenceWord(std::u32string_view word) {
  return KindOf(word) != NumberKind::kNone;
}

namespace {

// The words of a leading reference: the book name's words before it, and the reference words.
struct ReferenceWords {
  std::vector<std::u32string_view> book;
  std::vector<std::u32string_view> numbers;
  std::u32string_view rest;  // the line after the reference, blanks before it dropped
};

std::optional<ReferenceWords> SplitReference(std::u32string_view line) {
  ReferenceWords words;
  std::u32string_view rest = line;
  NumberKind first = NumberKind::kNone;
  for (int words_before = 0; first == NumberKind::kNone; ++words_before) {
    const std::u32string_view word = NextWord(rest);
    if (word.empty() || words_before > kMostBookNameWords) {
      return std::nullopt;
    }
    first = KindOf(word);
    (first == NumberKind::kNone ? words.book : words.numbers).push_back(word);
  }
  // Chapter and verse may stand as separate words.
  for (std::u32string_view ahead = rest;;) {
    const std::u32string_view word = NextWord(ahead);
    if (word.empty() || !ContinuesReference(word, first)) {
      break;
    }
    words.numbers.push_back(word);
    rest = ahead;
  }
  words.rest = WithoutLeadingBlanks(rest);
  return words;
}

// The value of a Hebrew letter as a numeral; final forms count as their letters.
std::int32_t NumeralValue(char32_t letter) {
  static constexpr std::int32_t kValues[] = {1,  2,  3,  4,  5,  6,   7,   8,   9,
                                             10, 20, 20, 30, 40, 40,  50,  50,  60,
                                             70, 80, 80, 90, 90, 100, 200, 300, 400};
  return kValues[letter - kAlef];
}

// Appends the numbers of one reference word: each run of digits, and each run of Hebrew letters
// read as a numeral.
void AppendNumbers(std::u32string_view word, std::vector<std::int32_t>& numbers) {
  constexpr std::int32_t kLargest = 1'000'000;
  std::int32_t value = 0;
  bool in_number = false;
  bool in_digits = false;
  const auto end_number = [&] {
    if (in_number) {
      numbers.push_back(value);
    }
    value = 0;
    in_number = false;
  };
  for (const char32_t c : word) {
    if (IsDigit(c)) {
      if (in_number && !in_digits) {
        end_number();
      }
      value = std::min(value * 10 + static_cast<std::int32_t>(c - U'0'), kLargest);
      in_number = in_digits = true;
    } else if (IsHebrewLetter(c)) {
      if (in_number && in_digits) {
        end_number();
      }
      value += NumeralValue(c);
      in_number = true;
      in_digits = false;
    } else if (!IsGeresh(c)) {
      end_number();  // a geresh stands inside a numeral; any other mark ends it
    }
  }
  end_number();
}

// A book name's word without the brackets and marks that a reference puts around it.
std::u32string_view BareWord(std::u32string_view word) {
  while (!word.empty() && IsReferenceMark(word.front())) {
    word.remove_prefix(1);
  }
  while (!word.empty() && IsReferenceMark(word.back())) {
    word.remove_suffix(1);
  }
  return word;
}

// "פרק" (chapter) names no book.
constexpr std::u32string_view kChapterWord = U"\u05E4\u05E8\u05E7";

}  // namespace

std::u32string_view WithoutVerseReference(std::u32string_view line) {
  const std::optional<ReferenceWords> words = SplitReference(line);
  return words ? words->rest : line;
}

std::optional<LeadingReference> ReadVerseReference(std::u32string_view line) {
  const std::optional<ReferenceWords> words = SplitReference(line);
  if (!words) {
    return std::nullopt;
  }
  LeadingReference reference;
  for (std::size_t k = 0; k < words->book.size(); ++k) {
    const std::u32string_view word = words->book[k];
    const std::u32string_view bare = BareWord(word);
    // In "(בראשית א, א)" the chapter "א," stands before the reference word proper: after a
    // book's name, a numeral of a few letters with a separator after it is a number too.
    if (k > 0 && !bare.empty() && bare.size() <= kMostNumeralLetters &&
        std::all_of(bare.begin(), bare.end(), [](char32_t c) { return IsHebrewLetter(c); }) &&
        IsSeparator(word.back())) {
      AppendNumbers(bare, reference.numbers);
      continue;
    }
    if (!bare.empty() && bare != kChapterWord) {
      reference.book_words.emplace_back(bare);
    }
  }
  for (const std::u32string_view word : words->numbers) {
    AppendNumbers(word, reference.numbers);
  }
  return reference;
}

std::string BookName(std::int32_t number) {
  static constexpr const char* kNames[] = {"Genesis", "Exodus", "Leviticus", "Numbers",
                                           "Deuteronomy"};
  if (number >= 1 && number <= 5) {
    return kNames[number - 1];
  }
  return "Book" + std::to_string(number);
}

}  // namespace quorel::mkdsf
