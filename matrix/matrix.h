// SPDX-License-Identifier: GPL-3.0-or-later
// The matrix of one find: the stretch of the text around it laid out in rows of equal width,
// the first letter of each row at the right, with the find's cells and the finds of other words
// marked. The model alone; drawing it is the window's and the exporters' business.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "matrix/matrix_text.h"

namespace quorel {

// A word spelled out at `skip` (not 0; negative reads backwards) from 1-based `position`, the
// place of its first letter: its letters stand at position, position + skip, ...
struct MatrixFind {
  std::int32_t skip = 0;
  std::int32_t position = 0;
  std::int32_t length = 0;

  std::int64_t LetterPosition(std::int32_t j) const {
    return std::int64_t{position} + std::int64_t{j} * skip;
  }
  friend bool operator==(const MatrixFind&, const MatrixFind&) = default;
};

inline constexpr std::int32_t kDefaultMarginRows = 10;
inline constexpr std::int32_t kMaxMarginRows = 200;
// Wider rows show this many columns around the find, so that a skip of thousands still gives a
// readable picture.
inline constexpr std::int32_t kDefaultMatrixColumns = 60;
// The widths a user may choose; the default, the skip's magnitude, may be wider.
inline constexpr std::int32_t kMinRowWidth = 2;
inline constexpr std::int32_t kMaxRowWidth = 500;
// Other words beside the find: each gets its own mark.
inline constexpr std::size_t kMaxOtherWords = 31;

// The width that splits rows of |skip| letters into `parts` (1 or more): |skip| / parts rounded
// to the nearest whole number, halves up; at least 1.
std::int32_t SplitRowWidth(std::int32_t skip, std::int32_t parts);

// Whether `word` (folded, see PrepareMatrixWord) is spelled out in the text at `find`, every letter
// inside the text.
bool SpellsAt(const MatrixText& text, std::u16string_view word, const MatrixFind& find);

struct MatrixRequest {
  std::u16string word;  // the find's word, folded; SpellsAt(text, word, find) must hold
  MatrixFind find;
  std::int32_t row_width = 0;  // 0: the skip's magnitude
  std::int32_t margin_rows = kDefaultMarginRows;
  std::int32_t max_columns = kDefaultMatrixColumns;
  std::vector<std::u16string> other_words;  // folded; at most kMaxOtherWords are used
};

// A word of the picture and its finds that lie wholly inside the shown cells.
struct MarkedWord {
  std::u16string word;
  std::vector<MatrixFind> finds;  // by skip, then position
  // How many (start position, skip) pairs, both directions, put every letter of a word of this
  // length on a shown cell inside the text; times `chance`, the product of the word's letter
  // shares, the number of finds expected by chance in a matrix of this size.
  std::int64_t fitting_starts = 0;
  double chance = 0;

  double Expected() const { return static_cast<double>(fitting_starts) * chance; }
};

struct MatrixCell {
  std::int32_t position = 0;  // 0: outside the text, blank
  char16_t letter = u' ';     // as the text writes it
  std::uint32_t marks = 0;    // bit k: a find of words[k] covers this cell (bit 0: the find)
};

struct Matrix {
  std::int32_t row_width = 0;
  std::int32_t text_length = 0;
  // The position that column 0 of shown row 0 would hold; may lie before the text.
  std::int64_t origin = 0;
  std::int32_t row_count = 0;
  // The shown columns of each row, 0-based from the row's first letter (at the right).
  std::int32_t first_column = 0;
  std::int32_t column_count = 0;
  // row_count * column_count cells, row by row, each row from its first shown column.
  std::vector<MatrixCell> cells;
  // words[0] is the find's own word with the find alone; the other words follow.
  std::vector<MarkedWord> words;

  const MatrixCell& At(std::int32_t row, std::int32_t column) const {
    return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(column_count) +
                 static_cast<std::size_t>(column)];
  }
  bool ShowsWholeRows() const { return column_count == row_width; }
};

// Lays the matrix out: rows of the chosen width, aligned so that the find's cells stand in the
// middle columns; the find's rows and `margin_rows` more on each side, rows wholly outside the
// text left out; every column when the width is at most `max_columns`, else that many in the
// middle. Each other word is searched in both directions at every skip that can fit inside the
// shown cells.
Matrix BuildMatrix(const MatrixText& text, const MatrixRequest& request);

}  // namespace quorel
