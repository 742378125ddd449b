// SPDX-License-Identifier: GPL-3.0-or-later
#include "matrix/matrix_plain_text.h"

#include <cstdio>

#include "text/hebrew_letters.h"
#include "text/utf.h"

namespace quorel {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

std::string Cell(const MatrixCell& cell) {
  if (cell.position == 0) {
    return "   ";
  }
  const std::string letter = Utf16ToUtf8(std::u16string_view(&cell.letter, 1));
  if ((cell.marks & 1u) != 0) {
    return "[" + letter + "]";
  }
  if (cell.marks != 0) {
    return "(" + letter + ")";
  }
  return " " + letter + " ";
}

std::string RowLabel(std::int32_t row, std::int32_t row_count) {
  const std::string number = std::to_string(row);
  return std::string(std::to_string(row_count).size() - number.size(), ' ') + number + "  ";
}

}  // namespace

std::string WordAsWritten(std::u16string_view word) {
  std::u16string written(word);
  if (!written.empty()) {
    const char16_t last = written.back();
    const auto final_form = static_cast<char16_t>(last - 1);
    if (IsFinalForm(final_form) && RegularLetter(final_form) == last) {
      written.back() = final_form;
    }
  }
  return Utf16ToUtf8(written);
}

std::string FindSummary(const MatrixFind& find) {
  return "skip " + std::to_string(find.skip) + ", position " + std::to_string(find.position);
}

std::string MatrixSummary(const Matrix& matrix) {
  std::string summary = "rows of " + std::to_string(matrix.row_width) + " letters, rows 1 to " +
                        std::to_string(matrix.row_count) + ", columns " +
                        std::to_string(matrix.first_column + 1) + " to " +
                        std::to_string(matrix.first_column + matrix.column_count) + " of " +
                        std::to_string(matrix.row_width);
  if (!matrix.cells.empty()) {
    summary += "; row 1 starts at position " + std::to_string(matrix.origin);
  }
  return summary;
}

std::string CountSummary(const MarkedWord& word) {
  return std::to_string(word.finds.size()) + " in the matrix, " + Number(word.Expected()) +
         " expected by chance";
}

std::string ExpectedExplanation(const MarkedWord& word) {
  return "expected = " + std::to_string(word.fitting_starts) +
         " (start, skip) pairs fitting the shown cells, both directions, \u00D7 " +
         Number(word.chance) + " (product of letter shares)";
}

std::string MatrixPlainText(const Matrix& matrix) {
  std::string text;
  const MarkedWord& own = matrix.words.front();
  text += WordAsWritten(own.word) + ", " + FindSummary(own.finds.front()) + "\n";
  text += MatrixSummary(matrix) + "\n\n";
  for (std::int32_t row = 0; row < matrix.row_count; ++row) {
    std::string line = RowLabel(row + 1, matrix.row_count);
    for (std::int32_t column = 0; column < matrix.column_count; ++column) {
      line += Cell(matrix.At(row, column));
    }
    while (!line.empty() && line.back() == ' ') {
      line.pop_back();
    }
    text += line + "\n";
  }
  text += "\n[ ] " + WordAsWritten(own.word) + ", " + FindSummary(own.finds.front()) + "\n";
  for (std::size_t k = 1; k < matrix.words.size(); ++k) {
    const MarkedWord& word = matrix.words[k];
    text += "( ) " + WordAsWritten(word.word) + ": " + CountSummary(word) + "\n";
    text += "    " + ExpectedExplanation(word) + "\n";
    for (const MatrixFind& find : word.finds) {
      text += "    " + FindSummary(find) + "\n";
    }
  }
  return text;
}

}  // namespace quorel
