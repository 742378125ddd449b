// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_length.h"

#include <cstddef>

#include "text/letter_text.h"

namespace quorel::mkdsf {

LengthVerdict FitToTextLength(std::string& letters, bool truncate) {
  constexpr auto kLength = static_cast<std::size_t>(TEXT_LENGTH);
  if (letters.empty()) {
    return LengthVerdict::kEmpty;
  }
  if (letters.size() < kLength) {
    return LengthVerdict::kShort;
  }
  if (letters.size() == kLength) {
    return LengthVerdict::kComplete;
  }
  if (!truncate) {
    return LengthVerdict::kTooLong;
  }
  letters.resize(kLength);
  return LengthVerdict::kTruncated;
}

}  // namespace quorel::mkdsf
