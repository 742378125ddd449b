// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf.h"

#include <cstdint>

namespace quorel {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

void AppendCodePoint(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void AppendCodePoint(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::size_t DecodeUtf8Sequence(std::string_view text, std::size_t at, char32_t& c,
                               Utf8Fault* fault) {
  const auto fail = [fault](Utf8Fault why) -> std::size_t {
    if (fault != nullptr) {
      *fault = why;
    }
    return 0;
  };
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
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, smallest = 0x10000;
  } else {
    return fail(Utf8Fault::kStrayByte);
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (at + k >= text.size()) {
      return fail(Utf8Fault::kEndsInside);
    }
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (!IsContinuation(byte)) {
      return fail(Utf8Fault::kCutShort);
    }
    c = (c << 6) | (byte & 0x3F);
  }
  if (c < smallest) {
    return fail(Utf8Fault::kOverlong);
  }
  if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
    return fail(Utf8Fault::kSurrogate);
  }
  if (c > 0x10FFFF) {
    return fail(Utf8Fault::kPastUnicode);
  }
  return length;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8Sequence(text, at, c);
    if (length == 0) {
      out.push_back(kReplacement);
      ++at;
      continue;
    }
    AppendCodePoint(c, out);
    at += length;
  }
  return out;
}

void AppendUtf8(std::u16string_view text, std::string& out) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char32_t unit = text[at];
    if (IsHighSurrogate(unit) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
      AppendCodePoint(0x10000 + ((unit - 0xD800) << 10) + (text[at + 1] - 0xDC00), out);
      ++at;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendCodePoint(kReplacement, out);
    } else {
      AppendCodePoint(unit, out);
    }
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  AppendUtf8(text, out);
  return out;
}

std::string Utf32ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char32_t c : text) {
    const bool valid = c <= 0x10FFFF && !IsHighSurrogate(c) && !IsLowSurrogate(c);
    AppendCodePoint(valid ? c : kReplacement, out);
  }
  return out;
}

}  // namespace quorel
