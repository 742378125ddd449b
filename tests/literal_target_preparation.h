// SPDX-License-Identifier: GPL-3.0-or-later
// The target word's preparation done the long way, step for step: trim, length test, then a pass
// that starts over from the first letter after every removed blank. Quadratic, so only for short
// inputs; tests and the fuzzer hold the real, linear preparation against it.
#pragma once

#include <string>
#include <string_view>

#include "search/target_word.h"

namespace quorel::test {

inline Preparation LiteralPrepareTarget(std::u16string_view typed) {
  std::u16string target(typed);
  while (!target.empty() && target.front() == u' ') {
    target.erase(0, 1);
  }
  while (!target.empty() && target.back() == u' ') {
    target.pop_back();
  }
  long target_len = static_cast<long>(target.size());
  if (target_len <= 1) {
    return Refusal{kTooShortMessage};
  }
  const std::u16string_view finals = u"\u05DA\u05DD\u05DF\u05E3\u05E5";
  const std::u16string_view regulars = u"\u05DB\u05DE\u05E0\u05E4\u05E6";
  long last = target_len;
  for (long j = 1; j <= last; ++j) {
    const char16_t c = target[static_cast<std::size_t>(j - 1)];
    if (c == u' ') {
      target = target.substr(0, static_cast<std::size_t>(j - 1)) +
               target.substr(static_cast<std::size_t>(j));
      --target_len;
      last = target_len;
      j = 0;  // the loop's increment starts the pass again at 1
      continue;
    }
    if (c < u'\u05D0' || c > u'\u05EA') {
      return Refusal{kNotHebrewMessage};
    }
    for (std::size_t f = 0; f < finals.size(); ++f) {
      if (c == finals[f]) {
        target[static_cast<std::size_t>(j - 1)] = regulars[f];
        break;
      }
    }
  }
  return target;
}

}  // namespace quorel::test
