// The Hebrew code page Windows-1255, as far as the letter text and the target word need it.
#pragma once

#include <cstdint>

namespace quorel {

// The character that Windows-1255 gives to `code`. Codes the code page leaves unassigned give
// U+FFFD, the replacement character, which is no letter and never matches a target.
char16_t Windows1255ToUnicode(std::uint8_t code);

// The first and last Hebrew letters, alef and tav; the five final forms lie between them.
inline constexpr char16_t kAlef = u'\u05D0';
inline constexpr char16_t kTav = u'\u05EA';
inline constexpr char16_t kBlank = u' ';

// Exactly the 27 letters U+05D0..U+05EA, final forms included: the characters whose
// Windows-1255 codes lie from the code of alef to the code of tav.
constexpr bool IsHebrewLetter(char16_t c) {
  return c >= kAlef && c <= kTav;
}

}  // namespace quorel
