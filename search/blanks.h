// SPDX-License-Identifier: GPL-3.0-or-later
// The blank, U+0020, and nothing else: tabs and no-break spaces are not blanks here.
#pragma once

#include <string_view>

#include "text/code_page.h"

namespace quorel {

// `text` without its leading and trailing blanks.
inline std::u16string_view TrimBlanks(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(kBlank);
  if (first == std::u16string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

}  // namespace quorel
