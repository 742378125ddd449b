#include "utf8_decoder.h"

#include <algorithm>

#include "text/utf.h"

namespace quorel::mkdsf {

std::optional<Utf8Error> DecodeUtf8(std::string_view text, std::u32string& out) {
  out.reserve(out.size() + text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8Sequence(text, at, c);
    if (length == 0) {
      const auto before = text.substr(0, at);
      return Utf8Error{1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')),
                       at};
    }
    out.push_back(c);
    at += length;
  }
  return std::nullopt;
}

}  // namespace quorel::mkdsf
