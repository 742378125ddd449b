// SPDX-License-Identifier: GPL-3.0-or-later
// The matrix of a find: its cells for the widths a user picks, near the text's ends, at negative
// skips and in a window of columns; other words' finds and their numbers against chance.
#include "matrix/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "matrix/matrix_plain_text.h"
#include "text/utf.h"

namespace quorel {
namespace {

// `length` letters drawn from `alphabet` by a fixed linear congruential sequence.
std::u16string MakeText(std::size_t length, std::u16string_view alphabet, std::uint32_t seed = 7) {
  std::u16string text;
  for (std::size_t k = 0; k < length; ++k) {
    seed = seed * 1664525u + 1013904223u;
    text += alphabet[(seed >> 16) % alphabet.size()];
  }
  return text;
}

void Plant(std::u16string& text, std::u16string_view word, std::int32_t skip,
           std::int32_t position) {
  for (std::size_t j = 0; j < word.size(); ++j) {
    text[static_cast<std::size_t>(position - 1 + static_cast<std::int64_t>(j) * skip)] = word[j];
  }
}

// Letters that the planted words below never use.
const std::u16string kFiller = u"\u05E7\u05E8\u05E9\u05EA";  // ק ר ש ת
const std::u16string kWord = u"\u05D0\u05D1\u05D2\u05D3";    // א ב ג ד
const std::u16string kOther = u"\u05D4\u05D5\u05D6";         // ה ו ז

struct CellAt {
  std::int32_t row;
  std::int32_t column;
};

// Where a position stands among the shown cells; row -1 when it is not shown.
CellAt Locate(const Matrix& matrix, std::int64_t position) {
  for (std::int32_t row = 0; row < matrix.row_count; ++row) {
    for (std::int32_t column = 0; column < matrix.column_count; ++column) {
      if (matrix.At(row, column).position == position) {
        return {row, column};
      }
    }
  }
  return {-1, -1};
}

// Every cell holds the position its row and column give, and the text's letter there, or is
// blank outside the text.
void ExpectCellsFollowTheText(const Matrix& matrix, std::u16string_view text) {
  for (std::int32_t row = 0; row < matrix.row_count; ++row) {
    for (std::int32_t column = 0; column < matrix.column_count; ++column) {
      const std::int64_t position =
          matrix.origin + std::int64_t{row} * matrix.row_width + matrix.first_column + column;
      const MatrixCell& cell = matrix.At(row, column);
      if (position < 1 || position > static_cast<std::int64_t>(text.size())) {
        EXPECT_EQ(cell.position, 0) << row << "," << column;
        EXPECT_EQ(cell.letter, u' ');
      } else {
        EXPECT_EQ(cell.position, position) << row << "," << column;
        EXPECT_EQ(cell.letter, text[static_cast<std::size_t>(position - 1)]);
      }
    }
  }
}

std::vector<CellAt> FindCells(const Matrix& matrix, const MatrixFind& find) {
  std::vector<CellAt> cells;
  for (std::int32_t j = 0; j < find.length; ++j) {
    cells.push_back(Locate(matrix, find.LetterPosition(j)));
  }
  return cells;
}

Matrix Build(const MatrixText& text, const MatrixFind& find, std::int32_t width = 0,
             std::vector<std::u16string> others = {}) {
  MatrixRequest request;
  request.word = std::u16string(kWord.substr(0, static_cast<std::size_t>(find.length)));
  request.find = find;
  request.row_width = width;
  request.other_words = std::move(others);
  return BuildMatrix(text, request);
}

TEST(SplitRowWidth, RoundsTheSkipOverThePartsHalvesUp) {
  const struct {
    std::int32_t skip, parts, width;
  } cases[] = {{25, 1, 25}, {25, 2, 13}, {24, 2, 12}, {-25, 2, 13},    {10, 3, 3},
               {11, 2, 6},  {7, 4, 2},   {1, 5, 1},   {30000, 7, 4286}};
  for (const auto& c : cases) {
    EXPECT_EQ(SplitRowWidth(c.skip, c.parts), c.width) << c.skip << "/" << c.parts;
  }
}

TEST(Matrix, WidthOfTheSkipPutsTheFindInOneMiddleColumnWithTenRowsEachSide) {
  std::u16string letters = MakeText(2000, kFiller);
  const MatrixFind find{13, 500, 4};
  Plant(letters, kWord, find.skip, find.position);
  const MatrixText text(letters);
  const Matrix matrix = Build(text, find);
  EXPECT_EQ(matrix.row_width, 13);
  EXPECT_EQ(matrix.first_column, 0);
  EXPECT_EQ(matrix.column_count, 13);
  EXPECT_EQ(matrix.row_count, 4 + 2 * kDefaultMarginRows);
  ExpectCellsFollowTheText(matrix, letters);
  const std::vector<CellAt> cells = FindCells(matrix, find);
  for (std::int32_t j = 0; j < 4; ++j) {
    EXPECT_EQ(cells[j].row, kDefaultMarginRows + j);
    EXPECT_EQ(cells[j].column, 6);  // the middle of 13
    EXPECT_EQ(matrix.At(cells[j].row, cells[j].column).marks, 1u);
  }
  std::size_t marked = 0;
  for (const MatrixCell& cell : matrix.cells) {
    marked += cell.marks != 0 ? 1 : 0;
  }
  EXPECT_EQ(marked, 4u);
}

TEST(Matrix, SplitRowsPutTheFindOnAStraightLine) {
  const struct {
    std::int32_t skip, parts, row_step, column_step;
  } cases[] = {
      {25, 2, 2, -1},   // 25 = 2 rows of 13 less one: one column back per letter
      {24, 2, 2, 0},    // 24 = 2 rows of 12: one column
      {31, 3, 3, 1},    // 31 = 3 rows of 10 and one: one column on per letter
      {-25, 2, -2, 1},  // backwards: up the rows
  };
  for (const auto& c : cases) {
    std::u16string letters = MakeText(3000, kFiller);
    const MatrixFind find{c.skip, 1500, 4};
    Plant(letters, kWord, find.skip, find.position);
    const MatrixText text(letters);
    const Matrix matrix = Build(text, find, SplitRowWidth(c.skip, c.parts));
    ExpectCellsFollowTheText(matrix, letters);
    const std::vector<CellAt> cells = FindCells(matrix, find);
    for (std::int32_t j = 1; j < 4; ++j) {
      EXPECT_EQ(cells[j].row - cells[j - 1].row, c.row_step) << c.skip;
      // Columns count from the row's first letter, which stands at the right.
      EXPECT_EQ(cells[j].column - cells[j - 1].column, c.column_step) << c.skip;
    }
    // The line is centred: its middle stands in the middle column.
    const std::int32_t middle = (cells.front().column + cells.back().column) / 2;
    EXPECT_NEAR(middle, (matrix.row_width - 1) / 2, 1) << c.skip;
    EXPECT_EQ(matrix.row_count, std::abs(cells.back().row - cells.front().row) + 1 + 20);
  }
}

TEST(Matrix, FindsNearTheTextsEndsLeaveOutsideCellsBlankAndDropRowsOutsideIt) {
  std::u16string letters = MakeText(400, kFiller);
  const MatrixFind near_start{9, 3, 4};
  const MatrixFind near_end{-9, 398, 4};  // reads back from position 398
  Plant(letters, kWord, near_start.skip, near_start.position);
  Plant(letters, u"\u05D3\u05D2\u05D1\u05D0", 9, 398 - 27);
  const MatrixText text(letters);
  for (const MatrixFind& find : {near_start, near_end}) {
    ASSERT_TRUE(SpellsAt(text, kWord, find));
    const Matrix matrix = Build(text, find);
    ExpectCellsFollowTheText(matrix, letters);
    for (const CellAt& cell : FindCells(matrix, find)) {
      EXPECT_GE(cell.row, 0);
    }
    // Rows wholly outside the text are left out: the first row holds position 1 (or the last
    // row position 400), with blank cells beside it.
    std::set<std::int32_t> first_row, last_row;
    for (std::int32_t column = 0; column < matrix.column_count; ++column) {
      first_row.insert(matrix.At(0, column).position);
      last_row.insert(matrix.At(matrix.row_count - 1, column).position);
    }
    if (find.skip > 0) {
      EXPECT_TRUE(first_row.count(1) && first_row.count(0));
      EXPECT_EQ(matrix.row_count, 4 + 10);
    } else {
      EXPECT_TRUE(last_row.count(400) && last_row.count(0));
      EXPECT_LT(matrix.row_count, 4 + 20);
    }
  }
}

TEST(Matrix, NegativeSkipsReadUpTheColumnFromTheWordsFirstLetter) {
  std::u16string letters = MakeText(1000, kFiller);
  Plant(letters, u"\u05D3\u05D2\u05D1\u05D0", 7, 300 - 21);  // the word reversed
  const MatrixText text(letters);
  const MatrixFind find{-7, 300, 4};
  EXPECT_TRUE(SpellsAt(text, kWord, find));
  EXPECT_FALSE(SpellsAt(text, kWord, MatrixFind{7, 300, 4}));
  const Matrix matrix = Build(text, find);
  EXPECT_EQ(matrix.row_width, 7);
  const std::vector<CellAt> cells = FindCells(matrix, find);
  for (std::int32_t j = 0; j < 4; ++j) {
    EXPECT_EQ(cells[j].row, kDefaultMarginRows + 3 - j);
    EXPECT_EQ(cells[j].column, 3);
    EXPECT_EQ(matrix.At(cells[j].row, cells[j].column).letter, kWord[j]);
  }
}

TEST(Matrix, RowsWiderThanTheShownColumnsShowTheMiddleOnesAndSayWhich) {
  std::u16string letters = MakeText(30000, kFiller);
  const MatrixFind find{1000, 11000, 4};
  Plant(letters, kWord, find.skip, find.position);
  const MatrixText text(letters);
  const Matrix matrix = Build(text, find);
  EXPECT_EQ(matrix.row_width, 1000);
  EXPECT_EQ(matrix.column_count, kDefaultMatrixColumns);
  EXPECT_EQ(matrix.first_column, 499 - 29);
  EXPECT_EQ(matrix.row_count, 24);
  EXPECT_FALSE(matrix.ShowsWholeRows());
  ExpectCellsFollowTheText(matrix, letters);
  for (const CellAt& cell : FindCells(matrix, find)) {
    EXPECT_EQ(cell.column, 29);
  }
  EXPECT_NE(MatrixSummary(matrix).find("columns 471 to 530 of 1000"), std::string::npos)
      << MatrixSummary(matrix);
}

// Brute force over every start and skip: the finds of `word` whose letters all stand on shown
// cells, and how many (start, skip) pairs put all of a word's letters there.
struct Inside {
  std::vector<MatrixFind> finds;
  std::int64_t fitting = 0;
};

Inside BruteForce(const Matrix& matrix, std::u16string_view folded, std::u16string_view word) {
  const auto n = static_cast<std::int64_t>(folded.size());
  std::vector<bool> shown(static_cast<std::size_t>(n + 1));
  for (const MatrixCell& cell : matrix.cells) {
    shown[static_cast<std::size_t>(cell.position)] = cell.position != 0;
  }
  Inside inside;
  const auto length = static_cast<std::int32_t>(word.size());
  for (std::int64_t skip = -n; skip <= n; ++skip) {
    for (std::int64_t start = 1; skip != 0 && start <= n; ++start) {
      bool fits = true;
      bool spells = true;
      for (std::int32_t j = 0; j < length && fits; ++j) {
        const std::int64_t position = start + j * skip;
        fits = position >= 1 && position <= n && shown[static_cast<std::size_t>(position)];
        spells = spells && fits && folded[static_cast<std::size_t>(position - 1)] == word[j];
      }
      inside.fitting += fits ? 1 : 0;
      if (fits && spells) {
        inside.finds.push_back(
            MatrixFind{static_cast<std::int32_t>(skip), static_cast<std::int32_t>(start), length});
      }
    }
  }
  return inside;
}

TEST(Matrix, OtherWordsAreMarkedWhenWhollyInsideAndCountedAgainstChance) {
  // A small alphabet gives many finds at every skip, across rows and columns.
  const std::u16string alphabet = u"\u05D0\u05D1\u05D2\u05D3\u05DD";  // א ב ג ד, final mem
  std::u16string letters = MakeText(700, alphabet, 11);
  const MatrixFind find{21, 200, 3};
  Plant(letters, kWord.substr(0, 3), find.skip, find.position);
  const MatrixText text(letters);
  const std::vector<std::u16string> others = {u"\u05D1\u05D0", u"\u05D2\u05DE\u05D3",
                                              u"\u05D0\u05D0\u05D1\u05D2"};
  std::size_t all_finds = 0;
  for (const std::int32_t width : {0, 11, 5, 40, 90}) {
    MatrixRequest request;
    request.word = kWord.substr(0, 3);
    request.find = find;
    request.row_width = width;
    request.margin_rows = 4;
    request.max_columns = 30;
    request.other_words = others;
    const Matrix matrix = BuildMatrix(text, request);
    ASSERT_EQ(matrix.words.size(), 4u);
    for (std::size_t k = 1; k < matrix.words.size(); ++k) {
      const Inside expected = BruteForce(matrix, text.Folded(), others[k - 1]);
      const MarkedWord& word = matrix.words[k];
      EXPECT_EQ(word.finds, expected.finds) << "width " << width << " word " << k;
      all_finds += word.finds.size();
      EXPECT_EQ(word.fitting_starts, expected.fitting) << "width " << width << " word " << k;
      EXPECT_DOUBLE_EQ(word.Expected(), static_cast<double>(expected.fitting) * word.chance);
      // Every cell of every find carries the word's mark, and no other cell does.
      std::set<std::int32_t> cells;
      for (const MatrixFind& f : word.finds) {
        for (std::int32_t j = 0; j < f.length; ++j) {
          cells.insert(static_cast<std::int32_t>(f.LetterPosition(j)));
        }
      }
      for (const MatrixCell& cell : matrix.cells) {
        EXPECT_EQ((cell.marks >> k & 1u) != 0, cell.position != 0 && cells.count(cell.position))
            << "width " << width << " word " << k << " position " << cell.position;
      }
    }
  }
  EXPECT_GT(all_finds, 100u);  // the comparison above had something to compare
}

TEST(Matrix, AWordHalfOutsideTheShownRowsIsNotMarked) {
  std::u16string letters = MakeText(3000, kFiller);
  const MatrixFind find{10, 1000, 4};
  Plant(letters, kWord, find.skip, find.position);
  // Rows of 10 are shown from 10 rows before the find's first letter to 10 after its last.
  Plant(letters, kOther, 10, 1000 + 3 * 10 + 2);   // wholly inside, beside the find
  Plant(letters, kOther, 10, 1000 + 12 * 10 + 3);  // its last letter one row too low
  Plant(letters, u"\u05D6\u05D5\u05D4", 1, 904);   // backwards from 906, inside
  Plant(letters, u"\u05D6\u05D5\u05D4", 1, 894);   // backwards from 896, the first shown cell
  const MatrixText text(letters);
  const Matrix matrix = Build(text, find, 0, {kOther});
  ASSERT_EQ(matrix.words.size(), 2u);
  EXPECT_EQ(matrix.origin, 896);
  // A backward find starts at its first letter, the highest of its positions.
  EXPECT_EQ(matrix.words[1].finds, (std::vector<MatrixFind>{{-1, 906, 3}, {10, 1032, 3}}));
  std::int32_t marked = 0;
  for (const MatrixCell& cell : matrix.cells) {
    marked += (cell.marks & 2u) != 0 ? 1 : 0;
  }
  EXPECT_EQ(marked, 6);
}

TEST(Matrix, WordsThatShareACellShowBothMarks) {
  std::u16string letters = MakeText(2000, kFiller);
  const MatrixFind find{15, 700, 4};
  Plant(letters, kWord, find.skip, find.position);
  // ה ו ז along a row and ז ח ט down a column, crossing at position 760.
  Plant(letters, kOther, 1, 758);                  // ה ו ז: ז at 760
  Plant(letters, u"\u05D6\u05D7\u05D8", 15, 760);  // ז ח ט down the column from 760
  const MatrixText text(letters);
  const Matrix matrix = Build(text, find, 0, {kOther, u"\u05D6\u05D7\u05D8"});
  const CellAt shared = Locate(matrix, 760);
  ASSERT_GE(shared.row, 0);
  EXPECT_EQ(matrix.At(shared.row, shared.column).marks, 2u | 4u);
  const CellAt own = Locate(matrix, 715);  // the find's second letter, no other word there
  EXPECT_EQ(matrix.At(own.row, own.column).marks, 1u);
}

TEST(Matrix, ChanceIsTheProductOfTheLettersSharesWithFinalFormsReadAsTheirLetters) {
  // 100 letters: 50 alef, 30 mem (10 of them final), 20 bet.
  std::u16string letters = std::u16string(50, u'\u05D0') + std::u16string(20, u'\u05DE') +
                           std::u16string(10, u'\u05DD') + std::u16string(20, u'\u05D1');
  const MatrixText text(letters);
  EXPECT_DOUBLE_EQ(text.ChanceOfWord(u"\u05D0\u05DE"), 0.5 * 0.3);
  EXPECT_DOUBLE_EQ(text.ChanceOfWord(u"\u05D1\u05D1\u05D0"), 0.2 * 0.2 * 0.5);
  EXPECT_DOUBLE_EQ(text.ChanceOfWord(u"\u05D2\u05D0"), 0);
  EXPECT_EQ(PrepareMatrixWord(u" \u05E9\u05DC\u05D5\u05DD "), u"\u05E9\u05DC\u05D5\u05DE");
  EXPECT_EQ(PrepareMatrixWord(u"\u05D0"), u"");
  EXPECT_EQ(PrepareMatrixWord(u"\u05D0x"), u"");
}

TEST(Matrix, PlainTextBracketsTheFindAndParenthesisesOtherWords) {
  std::u16string letters = MakeText(200, kFiller);
  const MatrixFind find{5, 100, 4};
  Plant(letters, kWord, find.skip, find.position);
  Plant(letters, kOther, 1, 111);
  const MatrixText text(letters);
  MatrixRequest request;
  request.word = kWord;
  request.find = find;
  request.margin_rows = 1;
  request.other_words = {kOther};
  const std::string plain = MatrixPlainText(BuildMatrix(text, request));
  EXPECT_EQ(plain.find("\xD7\x90\xD7\x91\xD7\x92\xD7\x93, skip 5, position 100\n"
                       "rows of 5 letters, rows 1 to 6, columns 1 to 5 of 5; row 1 starts at "
                       "position 93\n\n"),
            0u)
      << plain;
  // Row 2 holds position 100 in its middle column; row 4 the find's third letter at 110 with
  // the first two letters of ה ו ז beside it.
  const std::size_t alef = plain.find("[\xD7\x90]");
  ASSERT_NE(alef, std::string::npos) << plain;
  EXPECT_EQ(plain.substr(plain.rfind('\n', alef) + 1, 3), "2  ") << plain;
  EXPECT_EQ(alef - plain.rfind('\n', alef), 1 + 3 + 2 * 4u);  // after the label and two cells
  EXPECT_NE(plain.find("[\xD7\x92](\xD7\x94)(\xD7\x95)\n"), std::string::npos) << plain;
  EXPECT_NE(plain.find("( ) \xD7\x94\xD7\x95\xD7\x96: 1 in the matrix, "), std::string::npos)
      << plain;
  EXPECT_NE(plain.find("    skip 1, position 111\n"), std::string::npos) << plain;
}

}  // namespace
}  // namespace quorel
