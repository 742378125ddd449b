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
  const std::int64_t last_start = static_cast<std::int64_t>(letters.size()) -
                                  (static_cast<std::int64_t>(target.size()) - 1) * skip;
  for (std::int64_t i = 1; i <= last_start; ++i) {
    if (IsFind(letters, target, i, skip)) {
      finds.push_back(static_cast<std::int32_t>(i));
    }
  }
}

}  // namespace quorel
