#include "find_counts.h"

#include <vector>

#include "text/hebrew_letters.h"

namespace quorel {

double ChanceOfFind(const LetterText& text, std::u16string_view target, bool fold_finals) {
  if (text.FileLength() == 0) {
    return 0;
  }
  std::vector<std::int64_t> counts(0x10000);
  for (const char16_t c : text.FileLetters()) {
    ++counts[fold_finals ? RegularLetter(c) : c];
  }
  double chance = 1;
  for (const char16_t c : target) {
    chance *= static_cast<double>(counts[c]) / text.FileLength();
  }
  return chance;
}

void FindCounter::Begin(const LetterText& text, std::u16string_view target) {
  chance_ = ChanceOfFind(text, target, fold_finals_);
}

void FindCounter::SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t finds) {
  rows_.push_back(Row{skip, finds, static_cast<double>(start_positions) * chance_});
}

void FindCounter::Write(std::FILE* out) const {
  std::size_t all_finds = 0;
  double all_expected = 0;
  std::fputs("skip\tfinds\texpected\n", out);
  for (const Row& row : rows_) {
    std::fprintf(out, "%d\t%zu\t%.4g\n", row.skip, row.finds, row.expected);
    all_finds += row.finds;
    all_expected += row.expected;
  }
  std::fprintf(out, "all\t%zu\t%.4g\n", all_finds, all_expected);
}

}  // namespace quorel
