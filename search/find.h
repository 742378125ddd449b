// One find: the target spelled out at `skip` from start position `position`.
#pragma once

#include <cstdint>

#include "text/letter_text.h"

namespace quorel {

struct Find {
  std::int32_t skip = 0;
  std::int32_t position = 0;    // 1-based start position in LetterText
  std::int64_t target_len = 0;  // TargetLen
};

// The last start position whose last letter, at i + (TargetLen - 1) * Skip, still lies in the
// text; below 1 when no start position fits. Computed in 64 bits, so no target length and no
// skip that a run can have overflows it.
constexpr std::int64_t LastStart(std::int64_t target_len, std::int32_t skip) {
  return TEXT_LENGTH - (target_len - 1) * skip;
}

}  // namespace quorel
