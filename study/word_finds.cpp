#include "study/word_finds.h"

#include "scan/directional_scanner.h"
#include "scan/scanner.h"

namespace quorel {
namespace {

void Append(std::int32_t skip, const std::vector<std::int32_t>& starts,
            std::vector<SkipFind>& finds) {
  for (const std::int32_t start : starts) {
    finds.push_back({start, skip});
  }
}

}  // namespace

void CollectFinds(std::u16string_view letters, std::u16string_view word, StudySkips skips,
                  std::vector<SkipFind>& finds) {
  finds.clear();
  std::vector<std::int32_t> starts;
  if (!skips.both) {
    const Scanner scanner(letters, word);
    for (std::int32_t skip = skips.min; skip <= skips.max; ++skip) {
      scanner.FindsAtSkip(skip, starts);
      Append(skip, starts, finds);
    }
    return;
  }
  const DirectionalScanner scanner(letters, word);
  for (std::int32_t skip = skips.min; skip <= skips.max; ++skip) {
    scanner.FindsAtSkip(skip, starts);
    Append(skip, starts, finds);
    scanner.FindsAtSkip(-skip, starts);
    Append(-skip, starts, finds);
  }
}

}  // namespace quorel
