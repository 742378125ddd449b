// SPDX-License-Identifier: GPL-3.0-or-later
// The words that describe a matrix, shared by the picture's legend and the plain-text matrix,
// and the plain-text matrix itself: for terminals, scripts and tests. All UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "matrix/matrix.h"

namespace quorel {

// A searched word as it is written: its last letter in its final form where it has one.
std::string WordAsWritten(std::u16string_view word);
// "skip 7, position 10000".
std::string FindSummary(const MatrixFind& find);
// "rows of 7 letters, rows 1 to 24, columns 1 to 7 of 7; row 1 starts at position 9937"
std::string MatrixSummary(const Matrix& matrix);
// "3 in the matrix, 1.87 expected by chance".
std::string CountSummary(const MarkedWord& word);
// How the expected number was found, in one sentence.
std::string ExpectedExplanation(const MarkedWord& word);

// The matrix as text: a heading, one line per row with its number and its cells in reading
// order (the row's first letter first, as a right-to-left layout puts it at the right), each
// cell as three characters: "[x]" a letter of the find, "(x)" a letter of another word's find
// only, " x " any other letter, three blanks outside the text. Then the legend: the find, and
// every other word with its count, the number expected, and its finds.
std::string MatrixPlainText(const Matrix& matrix);

}  // namespace quorel
