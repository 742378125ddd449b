// SPDX-License-Identifier: GPL-3.0-or-later
// A list of word pairs: one pair a line, UTF-8, the two sides apart by blanks or tabs, several
// forms of one side apart by "/", and "#" starting a comment that runs to the end of the line.
//
//   # name      title
//   אברהם/אברם  יצחק
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

struct PairLine {
  int line_number = 0;                // 1-based line of the list
  std::vector<std::u16string> first;  // forms of the first side, final forms folded
  std::vector<std::u16string> second;
};

// The pairs of the list's text; a line that is not two sides of words is refused, with its
// line number, in `failure`. A list without pairs is refused too.
std::optional<std::vector<PairLine>> ParsePairList(std::string_view text, std::string& failure);

}  // namespace quorel
