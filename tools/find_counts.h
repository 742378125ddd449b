// quorel-search --count: the number of finds per skip and in all, each beside the number that
// chance alone would give.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "search/find_sink.h"

namespace quorel {

// The number of finds expected by chance at a skip: its start positions times the product, over
// the target's letters, of each letter's share of the text (its count / TEXT_LENGTH).
double ChanceOfFind(const LetterText& text, std::u16string_view target);

class FindCounter final : public FindSink {
 public:
  void Begin(const LetterText& text, std::u16string_view target) override;
  bool Take(const Find&) override { return true; }
  void SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t finds) override;

  // A tab-separated table: the heading "skip finds expected", a row for every skip searched,
  // and the row "all" with the sums.
  void Write(std::FILE* out) const;

 private:
  struct Row {
    std::int32_t skip;
    std::size_t finds;
    double expected;
  };
  double chance_ = 0;
  std::vector<Row> rows_;
};

}  // namespace quorel
