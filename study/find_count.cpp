#include "study/find_count.h"

#include <vector>

#include "scan/directional_scanner.h"
#include "scan/scanner.h"

namespace quorel {

std::int64_t CountFinds(std::u16string_view letters, std::u16string_view word, StudySkips skips) {
  std::vector<std::int32_t> finds;
  std::int64_t count = 0;
  if (!skips.both) {
    const Scanner scanner(letters, word);
    for (std::int32_t skip = skips.min; skip <= skips.max; ++skip) {
      scanner.FindsAtSkip(skip, finds);
      count += static_cast<std::int64_t>(finds.size());
    }
    return count;
  }
  const DirectionalScanner scanner(letters, word);
  for (std::int32_t skip = skips.min; skip <= skips.max; ++skip) {
    scanner.FindsAtSkip(skip, finds);
    count += static_cast<std::int64_t>(finds.size());
    scanner.FindsAtSkip(-skip, finds);
    count += static_cast<std::int64_t>(finds.size());
  }
  return count;
}

double ExpectedFinds(std::u16string_view letters, std::u16string_view word, StudySkips skips) {
  if (letters.empty() || word.size() < 2) {
    return 0;
  }
  std::vector<std::int64_t> counts(0x10000, 0);
  for (const char16_t letter : letters) {
    ++counts[letter];
  }
  const auto length = static_cast<double>(letters.size());
  double chance = 1;
  for (const char16_t letter : word) {
    chance *= static_cast<double>(counts[letter]) / length;
  }
  const auto span = static_cast<std::int64_t>(word.size()) - 1;
  double starts = 0;
  for (std::int64_t skip = skips.min; skip <= skips.max; ++skip) {
    const std::int64_t at_skip = static_cast<std::int64_t>(letters.size()) - span * skip;
    if (at_skip <= 0) {
      break;
    }
    starts += static_cast<double>(at_skip);
  }
  return (skips.both ? 2 : 1) * starts * chance;
}

}  // namespace quorel
