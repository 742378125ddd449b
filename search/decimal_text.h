// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as the boxes show them: plain ASCII digits, no leading zeros, no grouping. The
// window's numbers are never negative; only a backward skip of the scripting front end has a
// minus sign.
#pragma once

#include <cstdint>
#include <string>

namespace quorel {

// The decimal text of `value`.
inline std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace quorel
