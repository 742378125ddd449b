// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-search --count: the number of finds per skip and in all, each beside the number that
// chance alone would give.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output_stream.h"
#include "search/find_sink.h"

namespace quorel {

// The chance that the target stands at one start position: the product, over the target's
// letters, of each letter's share of the letters the data file held (its count / their number).
// With `fold_finals` a final form counts as its regular letter. The number expected at a skip
// is this times the skip's start positions whose letters all lie within the file's letters.
double ChanceOfFind(const LetterText& text, std::u16string_view target, bool fold_finals);

// A number of finds expected, as the table writes it: a plain decimal number, never with an
// exponent, with at least four significant digits (9.141, 0.0001234, 91403521).
std::string ExpectedNumberText(double expected);

class FindCounter final : public FindSink {
 public:
  explicit FindCounter(bool fold_finals = false) : fold_finals_(fold_finals) {}

  void Begin(const LetterText& text, std::u16string_view target) override;
  bool Take(const Find&) override { return true; }
  void SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t finds) override;

  // A tab-separated table: the heading "skip finds expected", a row for every skip searched,
  // and the row "all" with the sums.
  void Write(OutputStream& out) const;

 private:
  struct Row {
    std::int32_t skip;
    std::size_t finds;
    double expected;
  };
  bool fold_finals_;
  double chance_ = 0;
  std::vector<Row> rows_;
};

}  // namespace quorel
