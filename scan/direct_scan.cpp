// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/direct_scan.h"

namespace quorel {

bool IsFind(std::u16string_view letters, std::u16string_view target, std::int64_t start,
            std::int32_t skip) {
  std::int64_t position = start;
  for (const char16_t letter : target) {
    if (letters[static_cast<std::size_t>(position - 1)] != letter) {
      return false;
    }
    position += skip;
  }
  return true;
}

void DirectScan(std::u16string_view letters, std::u16string_view target, std::int32_t skip,
                std::vector<std::int32_t>& finds) {
  // A backward find (negative skip) starts at the word's first letter, its highest position.
  const std::int64_t span = (static_cast<std::int64_t>(target.size()) - 1) * std::int64_t{skip};
  const std::int64_t first_start = span < 0 ? 1 - span : 1;
  const std::int64_t last_start = static_cast<std::int64_t>(letters.size()) - (span > 0 ? span : 0);
  for (std::int64_t i = first_start; i <= last_start; ++i) {
    if (IsFind(letters, target, i, skip)) {
      finds.push_back(static_cast<std::int32_t>(i));
    }
  }
}

}  // namespace quorel
