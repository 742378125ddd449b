// SPDX-License-Identifier: GPL-3.0-or-later
// The finds of a block of up to 64 consecutive skips, found anchor position by anchor position:
// for a position of the anchor letter, the letters next to it in the target lie one skip before
// and one skip after it, so one 64-bit window of a bitset tests that neighbour for every skip of
// the block at once. Only the few (position, skip) pairs that pass both neighbours have their
// remaining letters compared.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "scan/letter_bitset.h"

namespace quorel {

inline constexpr std::int32_t kMaxBlockSkips = 64;

// What the block scan needs of a run, prepared once.
struct AnchorScan {
  std::u16string_view letters;
  std::u16string_view target;
  std::int32_t anchor = 0;                  // target index of the anchor letter
  std::span<const std::int32_t> positions;  // 0-based, increasing: where the anchor letter is
  const LetterBitset* before = nullptr;     // backward bitset of target[anchor - 1], if any
  const LetterBitset* after = nullptr;      // forward bitset of target[anchor + 1], if any
  std::span<const std::int32_t> checks;     // other target indices, in test order
  std::int32_t checks_in_order_from = 0;    // then every index from here on, in target order
  // Forward bitset of the letter of checks[0], if any: a test on it stays in the cache where
  // a look at the text would not.
  const LetterBitset* first_check = nullptr;
};

// Replaces finds[k], for k from 0 to finds.size() - 1 (at most kMaxBlockSkips), with every
// 1-based start position at skip first_skip + k, in increasing order. Expects first_skip >= 1.
void ScanSkipBlock(const AnchorScan& scan, std::int32_t first_skip,
                   std::span<std::vector<std::int32_t>> finds);

}  // namespace quorel
