// SPDX-License-Identifier: GPL-3.0-or-later
// The scan in both reading directions. A find at skip -d starting at position n has its letters
// at n, n - d, ..., n - (k - 1) * d: the word read backwards through the text. It is the forward
// find at skip d of the reversed word, starting at the word's last letter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_kernel.h"
#include "scan/scanner.h"

namespace quorel {

class DirectionalScanner {
 public:
  // Prepares the scan of `letters` for `target` (2 or more letters) in both directions. The
  // letters must outlive the scanner; the target is copied.
  DirectionalScanner(std::u16string_view letters, std::u16string_view target,
                     ScanKernel kernel = BestScanKernel());
  DirectionalScanner(const DirectionalScanner&) = delete;
  DirectionalScanner& operator=(const DirectionalScanner&) = delete;

  // Replaces the contents of `finds` with the 1-based position of the word's first letter of
  // every find at `skip`, which is not 0 and may be negative, in increasing order.
  void FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const;

 private:
  std::u16string target_;
  std::u16string reversed_;
  Scanner forward_;
  Scanner backward_;
};

}  // namespace quorel
