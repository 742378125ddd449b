// SPDX-License-Identifier: GPL-3.0-or-later
// The Hebrew code page Windows-1255, as far as the letter text and the target word need it.
#pragma once

#include <cstdint>

#include "text/hebrew_letters.h"

namespace quorel {

// The character that Windows-1255 gives to `code`. Codes the code page leaves unassigned give
// U+FFFD, the replacement character, which is no letter and never matches a target.
char16_t Windows1255ToUnicode(std::uint8_t code);

inline constexpr char16_t kBlank = u' ';

}  // namespace quorel
