// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the UTF-16 of the boxes and the UTF-8 of files, paths and terminals.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorel {

// Why no valid UTF-8 character starts at a byte.
enum class Utf8Fault {
  kNone,
  kStrayByte,    // a byte that starts no character: a continuation byte, or 0xF5..0xFF
  kEndsInside,   // the text ends before the character does
  kCutShort,     // a byte that does not continue the character comes too early
  kOverlong,     // the character is written with more bytes than it needs
  kSurrogate,    // a UTF-16 surrogate, U+D800..U+DFFF, which UTF-8 never holds
  kPastUnicode,  // a code past U+10FFFF
};

// Decodes the UTF-8 sequence that starts at `text[at]`: gives its length in bytes and sets `c`,
// or gives 0 when no valid, shortest-form sequence starts there, and then sets `fault` (when
// given) to the reason.
std::size_t DecodeUtf8Sequence(std::string_view text, std::size_t at, char32_t& c,
                               Utf8Fault* fault = nullptr);

// Malformed sequences become U+FFFD, one for each byte that starts no valid sequence.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends the UTF-8 of `text` to `out`, so a caller can reuse one buffer.
void AppendUtf8(std::u16string_view text, std::string& out);
// The UTF-8 of decoded characters; surrogates and values past U+10FFFF become U+FFFD.
std::string Utf32ToUtf8(std::u32string_view text);

}  // namespace quorel
