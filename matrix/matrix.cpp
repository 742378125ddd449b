// SPDX-License-Identifier: GPL-3.0-or-later
#include "matrix/matrix.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>

#include "scan/directional_scanner.h"

namespace quorel {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) {
    --q;
  }
  return q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  return a - FloorDiv(a, b) * b;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return -FloorDiv(-a, b);
}

// Where the shown cells lie. Rows are counted from the row of the find's first letter (row 0),
// whose column 0 holds position `base`; columns are 0-based from each row's first letter.
struct Layout {
  std::int64_t width = 1;
  std::int64_t text_length = 0;
  std::int64_t base = 0;
  std::int64_t first_row = 0;
  std::int64_t last_row = -1;
  std::int64_t first_column = 0;
  std::int64_t last_column = -1;

  std::int64_t ColumnCount() const { return last_column - first_column + 1; }
  bool Windowed() const { return ColumnCount() < width; }
  bool InText(std::int64_t position) const { return position >= 1 && position <= text_length; }

  bool Shows(std::int64_t position) const {
    if (!InText(position)) {
      return false;
    }
    const std::int64_t row = FloorDiv(position - base, width);
    const std::int64_t column = position - base - row * width;
    return row >= first_row && row <= last_row && column >= first_column && column <= last_column;
  }

  // The first and last shown positions inside the text.
  std::int64_t FirstTextPosition() const {
    return std::max<std::int64_t>(1, base + first_row * width + first_column);
  }
  std::int64_t LastTextPosition() const {
    return std::min(text_length, base + last_row * width + last_column);
  }

  // Two letters of a find lie on shown cells only if their distance is a whole number of rows
  // plus at most the shown columns less one, either way.
  bool SkipCanFit(std::int64_t skip) const {
    if (!Windowed()) {
      return true;
    }
    const std::int64_t shift = FloorMod(skip, width);
    return shift < ColumnCount() || shift > width - ColumnCount();
  }
};

// The column of the find's first letter that puts the find in the middle of the rows. Taken with
// the first letter in column 0, the find's columns cover an arc of the row read as a circle (the
// shortest one, found by leaving out the widest gap between them); the arc's middle goes to the
// middle column.
std::int64_t CentringColumn(const MatrixFind& find, std::int64_t width) {
  std::vector<std::int64_t> columns;
  for (std::int32_t j = 0; j < find.length; ++j) {
    columns.push_back(FloorMod(std::int64_t{j} * find.skip, width));
  }
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  std::int64_t widest_gap = -1;
  std::int64_t arc_start = 0;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const bool last = k + 1 == columns.size();
    const std::int64_t next = last ? columns.front() + width : columns[k + 1];
    if (next - columns[k] > widest_gap) {
      widest_gap = next - columns[k];
      arc_start = last ? columns.front() : columns[k + 1];
    }
  }
  const std::int64_t arc_middle = arc_start + (width - widest_gap) / 2;
  return FloorMod((width - 1) / 2 - arc_middle, width);
}

Layout LayOut(const MatrixText& text, const MatrixRequest& request) {
  const MatrixFind& find = request.find;
  Layout layout;
  layout.width =
      request.row_width > 0 ? request.row_width : std::max<std::int64_t>(1, std::llabs(find.skip));
  layout.text_length = text.Length();
  const std::int64_t start_column = CentringColumn(find, layout.width);
  layout.base = find.position - start_column;

  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  for (std::int32_t j = 0; j < find.length; ++j) {
    const std::int64_t row = FloorDiv(start_column + std::int64_t{j} * find.skip, layout.width);
    lowest = std::min(lowest, row);
    highest = std::max(highest, row);
  }
  const std::int64_t margin = std::clamp(request.margin_rows, 0, kMaxMarginRows);
  const std::int64_t first_text_row = FloorDiv(1 - layout.base, layout.width);
  const std::int64_t last_text_row = FloorDiv(layout.text_length - layout.base, layout.width);
  layout.first_row = std::max(lowest - margin, first_text_row);
  layout.last_row = std::min(highest + margin, last_text_row);

  const std::int64_t columns = std::max(1, request.max_columns);
  if (layout.width <= columns) {
    layout.first_column = 0;
    layout.last_column = layout.width - 1;
  } else {
    layout.first_column = (layout.width - 1) / 2 - (columns - 1) / 2;
    layout.last_column = layout.first_column + columns - 1;
  }
  return layout;
}

// Calls `visit(length, skip, first, last)` for every length of `lengths` (2 or more, each at
// most once), positive skip and start column at which a word of that length can stand on shown
// cells inside the text: its start positions are first, first + width, ..., last, one per start
// row. For one skip and one start column the letters' columns and row offsets are fixed, so the
// start rows that keep every letter on a shown row inside the text form one range, which only
// narrows as the word grows.
template <typename Visit>
void ForEachFittingRange(const Layout& layout, const std::vector<std::int32_t>& lengths,
                         Visit&& visit) {
  if (lengths.empty()) {
    return;
  }
  const std::int32_t shortest = *std::min_element(lengths.begin(), lengths.end());
  const std::int32_t longest = *std::max_element(lengths.begin(), lengths.end());
  std::vector<bool> wanted(static_cast<std::size_t>(longest) + 1);
  for (const std::int32_t length : lengths) {
    wanted[static_cast<std::size_t>(length)] = true;
  }
  const std::int64_t span = layout.LastTextPosition() - layout.FirstTextPosition();
  const std::int64_t width = layout.width;
  for (std::int64_t skip = 1; skip <= span / (shortest - 1); ++skip) {
    if (!layout.SkipCanFit(skip)) {
      continue;
    }
    for (std::int64_t column = layout.first_column; column <= layout.last_column; ++column) {
      std::int64_t low = std::numeric_limits<std::int64_t>::min();
      std::int64_t high = std::numeric_limits<std::int64_t>::max();
      for (std::int32_t j = 0; j < longest; ++j) {
        const std::int64_t reach = column + j * skip;
        const std::int64_t letter_column = FloorMod(reach, width);
        if (letter_column < layout.first_column || letter_column > layout.last_column) {
          break;
        }
        const std::int64_t row_offset = FloorDiv(reach, width);
        const std::int64_t top =
            std::max(layout.first_row, CeilDiv(1 - layout.base - letter_column, width));
        const std::int64_t bottom = std::min(
            layout.last_row, FloorDiv(layout.text_length - layout.base - letter_column, width));
        low = std::max(low, top - row_offset);
        high = std::min(high, bottom - row_offset);
        if (low > high) {
          break;
        }
        if (wanted[static_cast<std::size_t>(j + 1)]) {
          visit(j + 1, skip, layout.base + low * width + column,
                layout.base + high * width + column);
        }
      }
    }
  }
}

bool LiesOnShownCells(const Layout& layout, const MatrixFind& find) {
  for (std::int32_t j = 0; j < find.length; ++j) {
    if (!layout.Shows(find.LetterPosition(j))) {
      return false;
    }
  }
  return true;
}

void SortFinds(std::vector<MatrixFind>& finds) {
  std::sort(finds.begin(), finds.end(), [](const MatrixFind& a, const MatrixFind& b) {
    return a.skip != b.skip ? a.skip < b.skip : a.position < b.position;
  });
}

// Every find of `word` in both directions whose letters all lie on shown cells. The scan reads
// only the stretch of the text from the first shown cell to the last, at the skips that can
// fit: the way for rows shown whole, whose stretch is short.
std::vector<MatrixFind> ScanStretch(const MatrixText& text, const Layout& layout,
                                    const std::u16string& word) {
  std::vector<MatrixFind> finds;
  const auto length = static_cast<std::int32_t>(word.size());
  const std::int64_t first = layout.FirstTextPosition();
  const std::int64_t last = layout.LastTextPosition();
  if (last - first + 1 < length) {
    return finds;
  }
  const std::u16string_view stretch = text.Folded().substr(
      static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
  const DirectionalScanner scanner(stretch, word);
  std::vector<std::int32_t> starts;
  const std::int64_t widest = (last - first) / (length - 1);
  for (std::int64_t magnitude = 1; magnitude <= widest; ++magnitude) {
    for (const std::int64_t skip : {-magnitude, magnitude}) {
      scanner.FindsAtSkip(static_cast<std::int32_t>(skip), starts);
      for (const std::int32_t start : starts) {
        const MatrixFind find{static_cast<std::int32_t>(skip),
                              static_cast<std::int32_t>(start + first - 1), length};
        if (LiesOnShownCells(layout, find)) {
          finds.push_back(find);
        }
      }
    }
  }
  return finds;
}

// The finds of `word` among the start positions first, first + width, ..., last at `skip` and
// the opposite skip, read backwards: for rows wider than the columns shown, whose stretch can
// be the whole text while the shown cells are a few thousand.
void TestStarts(std::u16string_view folded, const std::u16string& word, std::int64_t skip,
                std::int64_t first, std::int64_t last, std::int64_t width,
                std::vector<MatrixFind>& finds) {
  const auto length = static_cast<std::int32_t>(word.size());
  for (std::int64_t start = first; start <= last; start += width) {
    bool forward = true;
    bool backward = true;
    for (std::int32_t j = 0; j < length && (forward || backward); ++j) {
      const char16_t letter = folded[static_cast<std::size_t>(start + j * skip - 1)];
      forward = forward && letter == word[static_cast<std::size_t>(j)];
      backward = backward && letter == word[static_cast<std::size_t>(length - 1 - j)];
    }
    if (forward) {
      finds.push_back({static_cast<std::int32_t>(skip), static_cast<std::int32_t>(start), length});
    }
    if (backward) {
      finds.push_back({static_cast<std::int32_t>(-skip),
                       static_cast<std::int32_t>(start + (length - 1) * skip), length});
    }
  }
}

// Marks the other words: their finds wholly inside the shown cells, and how many starts fit.
// One walk over the skips and start columns that fit counts the starts for every length and,
// for wide rows, tests the words there; rows shown whole are scanned instead.
void FindOtherWords(const MatrixText& text, const Layout& layout, std::vector<MarkedWord>& words) {
  std::vector<std::int32_t> lengths;
  for (const MarkedWord& word : words) {
    if (word.word.size() >= 2) {
      lengths.push_back(static_cast<std::int32_t>(word.word.size()));
    }
  }
  std::sort(lengths.begin(), lengths.end());
  lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
  std::map<std::int32_t, std::int64_t> fitting;
  const bool windowed = layout.Windowed();
  ForEachFittingRange(
      layout, lengths,
      [&](std::int32_t length, std::int64_t skip, std::int64_t first, std::int64_t last) {
        fitting[length] += (last - first) / layout.width + 1;
        if (windowed) {
          for (MarkedWord& word : words) {
            if (static_cast<std::int32_t>(word.word.size()) == length) {
              TestStarts(text.Folded(), word.word, skip, first, last, layout.width, word.finds);
            }
          }
        }
      });
  for (MarkedWord& word : words) {
    if (word.word.size() < 2) {
      continue;
    }
    if (!windowed) {
      word.finds = ScanStretch(text, layout, word.word);
    }
    SortFinds(word.finds);
    // Each fitting start at a positive skip is one at the opposite skip too, read backwards.
    word.fitting_starts = 2 * fitting[static_cast<std::int32_t>(word.word.size())];
  }
}

void FillCells(const MatrixText& text, const Layout& layout, Matrix& matrix) {
  matrix.cells.resize(static_cast<std::size_t>(matrix.row_count) *
                      static_cast<std::size_t>(matrix.column_count));
  std::size_t k = 0;
  for (std::int64_t row = layout.first_row; row <= layout.last_row; ++row) {
    for (std::int64_t column = layout.first_column; column <= layout.last_column; ++column) {
      const std::int64_t position = layout.base + row * layout.width + column;
      MatrixCell& cell = matrix.cells[k++];
      if (layout.InText(position)) {
        cell.position = static_cast<std::int32_t>(position);
        cell.letter = text.At(cell.position);
      }
    }
  }
}

void MarkFinds(const Layout& layout, Matrix& matrix) {
  for (std::size_t word = 0; word < matrix.words.size(); ++word) {
    for (const MatrixFind& find : matrix.words[word].finds) {
      for (std::int32_t j = 0; j < find.length; ++j) {
        const std::int64_t position = find.LetterPosition(j);
        if (!layout.Shows(position)) {
          continue;
        }
        const std::int64_t row = FloorDiv(position - layout.base, layout.width);
        const std::int64_t column = position - layout.base - row * layout.width;
        const std::size_t cell = static_cast<std::size_t>(
            (row - layout.first_row) * layout.ColumnCount() + (column - layout.first_column));
        matrix.cells[cell].marks |= std::uint32_t{1} << word;
      }
    }
  }
}

}  // namespace

std::int32_t SplitRowWidth(std::int32_t skip, std::int32_t parts) {
  const std::int64_t magnitude = std::llabs(skip);
  const std::int64_t n = std::max(1, parts);
  return static_cast<std::int32_t>(std::max<std::int64_t>(1, (2 * magnitude + n) / (2 * n)));
}

bool SpellsAt(const MatrixText& text, std::u16string_view word, const MatrixFind& find) {
  if (find.skip == 0 || find.length != static_cast<std::int32_t>(word.size()) || word.size() < 2) {
    return false;
  }
  for (std::int32_t j = 0; j < find.length; ++j) {
    const std::int64_t position = find.LetterPosition(j);
    if (position < 1 || position > text.Length() ||
        text.Folded()[static_cast<std::size_t>(position - 1)] !=
            word[static_cast<std::size_t>(j)]) {
      return false;
    }
  }
  return true;
}

Matrix BuildMatrix(const MatrixText& text, const MatrixRequest& request) {
  const Layout layout = LayOut(text, request);
  Matrix matrix;
  matrix.row_width = static_cast<std::int32_t>(layout.width);
  matrix.text_length = text.Length();
  matrix.origin = layout.base + layout.first_row * layout.width;
  matrix.row_count =
      static_cast<std::int32_t>(std::max<std::int64_t>(0, layout.last_row - layout.first_row + 1));
  matrix.first_column = static_cast<std::int32_t>(layout.first_column);
  matrix.column_count = static_cast<std::int32_t>(layout.ColumnCount());
  FillCells(text, layout, matrix);

  matrix.words.push_back(MarkedWord{request.word, {request.find}, 0, 0});
  std::vector<MarkedWord> others;
  for (std::size_t k = 0; k < std::min(request.other_words.size(), kMaxOtherWords); ++k) {
    const std::u16string& word = request.other_words[k];
    others.push_back(MarkedWord{word, {}, 0, text.ChanceOfWord(word)});
  }
  FindOtherWords(text, layout, others);
  matrix.words.insert(matrix.words.end(), others.begin(), others.end());
  MarkFinds(layout, matrix);
  return matrix;
}

}  // namespace quorel
