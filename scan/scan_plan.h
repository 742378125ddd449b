// SPDX-License-Identifier: GPL-3.0-or-later
// How the scan of one target runs: which target letter anchors it, and in what order the letters
// that its neighbours do not cover are compared at each start position that remains.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorel {

struct ScanPlan {
  // 0-based target index of the anchor letter. Its positions in the text are the only start
  // candidates; its neighbours at anchor - 1 and anchor + 1, where the target has them, are
  // tested on bitsets for many skips at once.
  std::int32_t anchor = 0;
  // The other target indices up to planned_length, the rarest letters first so that most
  // failing starts fail at the first compare.
  std::vector<std::int32_t> checks;
  // Every index from planned_length to the end of the target is compared after the checks, in
  // target order: a long target is planned by its head alone, so that preparing never costs
  // in proportion to its length.
  std::int32_t planned_length = 0;
};

// Estimates from a sample how often each letter of `target` (2 or more letters) occurs in
// `letters`, and picks the anchor among the target's first letters whose occurrences, and the
// starts that pass its neighbours, are expected to cost least. The plan only decides the speed
// of the scan; any plan gives the same finds.
ScanPlan PlanScan(std::u16string_view letters, std::u16string_view target);

}  // namespace quorel
