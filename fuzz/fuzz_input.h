// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a fuzzer's bytes into the inputs of the search engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorel::fuzz {

// Pairs of bytes as UTF-16 code units, little end first: every code unit, unpaired surrogates
// included, can be reached.
inline std::u16string Utf16Units(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t k = 0; k < text.size(); ++k) {
    text[k] = static_cast<char16_t>(data[2 * k] | (data[2 * k + 1] << 8));
  }
  return text;
}

// Fails loudly, so that the fuzzer keeps the input.
inline void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

}  // namespace quorel::fuzz
