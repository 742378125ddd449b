// Numbers as the boxes show them: plain ASCII digits, no sign, no leading zeros, no grouping.
#pragma once

#include <cstdint>
#include <string>

namespace quorel {

// The decimal text of a number that is zero or more.
inline std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace quorel
