// SPDX-License-Identifier: GPL-3.0-or-later
// The scan that a run uses: the finds of one skip at a time, exactly those of the direct scan and
// in the same order.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/letter_bitset.h"
#include "scan/scan_kernel.h"
#include "scan/scan_plan.h"
#include "scan/skip_block_scan.h"

namespace quorel {

// Starts from the positions of one rare target letter, the anchor, and tests its neighbours in
// the target for up to 64 skips at once (see skip_block_scan.h). The finds of a block of skips
// are kept until the run asks for a skip outside it; a run that goes skip after skip gets
// blocks of 1, 2, 4, ... up to 64 skips, so a run of few skips scans few. Preparing costs a
// small sample of the text and one vectorised pass over it, far less than one skip of the
// direct scan; the scanner holds a few bitsets of the text's size over 64 and the finds of one
// block.
class Scanner {
 public:
  // Prepares the scan of `letters` for `target` (2 or more letters) once per run. Both must
  // outlive the scanner. `kernel` is for tests that compare kernels; a kernel that the processor
  // lacks falls back to the portable one.
  Scanner(std::u16string_view letters, std::u16string_view target,
          ScanKernel kernel = BestScanKernel());

  // Replaces the contents of `finds` with every start position at `skip` (at least 1), in
  // increasing order.
  void FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const;

 private:
  void ScanBlockFrom(std::int32_t skip) const;

  std::u16string_view letters_;
  std::u16string_view target_;
  // The largest skip with a start position in the text; 0 when no skip can have a find.
  std::int32_t last_skip_ = 0;
  ScanPlan plan_;
  std::vector<std::int32_t> anchor_positions_;
  // The backward bitset of the letter before the anchor and the forward bitset of the letter
  // after it, those of them that the target has.
  std::optional<LetterBitset> before_anchor_;
  std::optional<LetterBitset> after_anchor_;
  // The forward bitset of the letter compared first at a start that passes the neighbours.
  std::optional<LetterBitset> first_check_;

  // The finds of the skips block_first_ .. block_first_ + block_size_ - 1, the block scanned
  // last. A cache: FindsAtSkip stays const.
  mutable std::int32_t block_first_ = 0;
  mutable std::int32_t block_size_ = 0;
  mutable std::array<std::vector<std::int32_t>, kMaxBlockSkips> block_finds_;
};

}  // namespace quorel
