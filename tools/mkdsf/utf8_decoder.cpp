#include "utf8_decoder.h"

#include <algorithm>

namespace quorel::mkdsf {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The code point at `text[at]` and its length in bytes; length 0 when no valid sequence starts
// there (a stray continuation byte, a cut-off sequence, an overlong form, a surrogate, or a
// value past U+10FFFF).
std::size_t DecodeOne(std::string_view text, std::size_t at, char32_t& c) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t smallest = 0;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at < length) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (!IsContinuation(byte)) {
      return 0;
    }
    c = (c << 6) | (byte & 0x3F);
  }
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  if (c < smallest || c > 0x10FFFF || surrogate) {
    return 0;
  }
  return length;
}

}  // namespace

std::optional<Utf8Error> DecodeUtf8(std::string_view text, std::u32string& out) {
  out.reserve(out.size() + text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    char32_t c = 0;
    const std::size_t length = DecodeOne(text, at, c);
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
