// Strict UTF-8 decoding that says where a text stops being UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorel::mkdsf {

// Where the first byte that starts no valid, shortest-form UTF-8 sequence lies.
struct Utf8Error {
  std::size_t line = 0;    // 1-based
  std::size_t offset = 0;  // 0-based byte offset in the whole text
};

// Appends the code points of `text` to `out`; stops at the first malformed sequence and tells
// where it is.
std::optional<Utf8Error> DecodeUtf8(std::string_view text, std::u32string& out);

}  // namespace quorel::mkdsf
