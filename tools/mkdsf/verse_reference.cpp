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

std::u32string_view WithoutVerseReference(std::u32string_view line) {
  std::u32string_view rest = line;
  NumberKind first = NumberKind::kNone;
  for (int words_before = 0; first == NumberKind::kNone; ++words_before) {
    const std::u32string_view word = NextWord(rest);
    if (word.empty() || words_before > kMostBookNameWords) {
      return line;
    }
    first = KindOf(word);
  }
  // Chapter and verse may stand as separate words.
  for (std::u32string_view ahead = rest;;) {
    const std::u32string_view word = NextWord(ahead);
    if (word.empty() || !ContinuesReference(word, first)) {
      break;
    }
    rest = ahead;
  }
  return WithoutLeadingBlanks(rest);
}

}  // namespace quorel::mkdsf
