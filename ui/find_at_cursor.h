// SPDX-License-Identifier: GPL-3.0-or-later
// Which find of the result box a place in it belongs to: the find whose header ("Skip: ",
// "Position: ") is the nearest above it, with the letters that its one-line or area view shows
// for it.
#pragma once

#include <QTextBlock>
#include <cstdint>
#include <optional>
#include <string>

namespace quorel {

struct ResultBoxFind {
  std::int32_t skip = 0;
  std::int32_t position = 0;
  std::u16string letters;  // the find's letters as its view shows them
};

// The find that `block` (a line of the result box) belongs to, if any: a line of its header or
// of its view. Nothing when no find header stands above the line, or the lines were edited
// beyond reading.
std::optional<ResultBoxFind> FindAtLine(const QTextBlock& block);

}  // namespace quorel
