// SPDX-License-Identifier: GPL-3.0-or-later
// One find: the target spelled out at `skip` from start position `position`.
#pragma once

#include <cstdint>

#include "text/letter_text.h"

namespace quorel {

struct Find {
  std::int32_t skip = 0;        // negative for a word read backwards
  std::int32_t position = 0;    // 1-based position of the word's first letter in LetterText
  std::int64_t target_len = 0;  // TargetLen
};

// The last start position whose last letter, at i + (TargetLen - 1) * Skip, still lies in the
// text; below 1 when no start position fits. Computed in 64 bits, so no target length and no
// skip that a run can have overflows it.
constexpr std::int64_t LastStart(std::int64_t target_len, std::int32_t skip) {
  return TEXT_LENGTH - (target_len - 1) * skip;
}

// The start positions at `skip`, forward or backward, whose letters all lie within the first
// `file_length` letters: those that the data file really held. 0 when none fits.
constexpr std::int64_t FileStartPositions(std::int32_t file_length, std::int64_t target_len,
                                          std::int32_t skip) {
  const std::int64_t magnitude = skip < 0 ? -std::int64_t{skip} : std::int64_t{skip};
  const std::int64_t starts = file_length - (target_len - 1) * magnitude;
  return starts > 0 ? starts : 0;
}

}  // namespace quorel
