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
  // Every other target index, the rarest letters first so that most failing starts fail at the
  // first compare.
  std::vector<std::int32_t> checks;
};

// Estimates from a sample how often each letter of `target` (2 or more letters) occurs in
// `letters`, and picks the anchor whose occurrences, and the starts that pass its neighbours,
// are expected to cost least. The plan only decides the speed of the scan; any plan gives the
// same finds.
ScanPlan PlanScan(std::u16string_view letters, std::u16string_view target);

}  // namespace quorel
