// Conversions between the UTF-16 of the boxes and the UTF-8 of files, paths and terminals.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorel {

// Decodes the UTF-8 sequence that starts at `text[at]`: gives its length in bytes and sets `c`,
// or gives 0 when no valid, shortest-form sequence starts there (a stray continuation byte, a
// cut-off sequence, an overlong form, a surrogate, or a value past U+10FFFF).
std::size_t DecodeUtf8Sequence(std::string_view text, std::size_t at, char32_t& c);

// Malformed sequences become U+FFFD, one for each byte that starts no valid sequence.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends the UTF-8 of `text` to `out`, so a caller can reuse one buffer.
void AppendUtf8(std::u16string_view text, std::string& out);
// The UTF-8 of decoded characters; surrogates and values past U+10FFFF become U+FFFD.
std::string Utf32ToUtf8(std::u32string_view text);

}  // namespace quorel
