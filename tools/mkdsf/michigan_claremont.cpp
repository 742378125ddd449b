// SPDX-License-Identifier: GPL-3.0-or-later
#include "michigan_claremont.h"

#include "text/data_file_bytes.h"

namespace quorel::mkdsf {
namespace {

// Alef to tav without the final forms, in the order of their Unicode codes.
constexpr char kConsonants[] = ")BGDHWZX+YKLMNS(PCQR$T";
constexpr char32_t kRegularLetters[] =
    U"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5\u05D6\u05D7\u05D8\u05D9\u05DB\u05DC\u05DE\u05E0"
    U"\u05E1\u05E2\u05E4\u05E6\u05E7\u05E8\u05E9\u05EA";
static_assert(sizeof(kConsonants) - 1 == 22 && std::size(kRegularLetters) - 1 == 22);

}  // namespace

char32_t McLetter(char32_t c) {
  if (c == U'&') {
    return U'\u05E9';
  }
  for (std::size_t k = 0; kConsonants[k] != '\0'; ++k) {
    if (c == static_cast<char32_t>(kConsonants[k])) {
      return kRegularLetters[k];
    }
  }
  return 0;
}

bool EndsMcWord(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\f' || c == U'\v' ||
         c == U'-';
}

void AppendMcLetters(std::u32string_view line, std::string& bytes) {
  // A word's last letter is held back until it is known whether the word ends after it.
  char32_t held = 0;
  const auto end_word = [&] {
    if (held != 0) {
      bytes.push_back(LetterByte(HasFinalForm(held) ? FinalForm(held) : held));
      held = 0;
    }
  };
  for (const char32_t c : line) {
    if (const char32_t letter = McLetter(c); letter != 0) {
      if (held != 0) {
        bytes.push_back(LetterByte(held));
      }
      held = letter;
    } else if (EndsMcWord(c)) {
      end_word();
    }
  }
  end_word();
}

}  // namespace quorel::mkdsf
