// Conversions between the UTF-16 of the boxes and the UTF-8 of files, paths and terminals.
#pragma once

#include <string>
#include <string_view>

namespace quorel {

// Malformed sequences become U+FFFD, one for each byte that starts no valid sequence.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends the UTF-8 of `text` to `out`, so a caller can reuse one buffer.
void AppendUtf8(std::u16string_view text, std::string& out);

}  // namespace quorel
