// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a matrix, drawn with QPainter: one drawing for the window, PNG, SVG and PDF.
// Rows read right to left: each row's first letter stands at the right, column numbers run
// from right to left above the grid and row numbers stand at the right of each row.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "matrix/matrix.h"

class QPainter;

namespace quorel {

// The colour of words[k]'s marks: the find's first, then one for each other word.
QColor MarkColour(std::size_t word);

// One line of the legend under the grid: a Hebrew word, if any, then the text about it, drawn
// apart so that neither reorders the other; `colour` is the word whose mark it shows, if any.
struct LegendLine {
  QString word;
  QString text;
  std::optional<std::size_t> colour;
  bool indented = false;
};
// What the legend says: the find, then each other word with its count against chance, how the
// expected number was found, and its finds (the first few of many).
std::vector<LegendLine> MatrixLegend(const Matrix& matrix);

// Where everything of the picture stands, in pixels of the picture at scale 1.
class MatrixPictureLayout {
 public:
  explicit MatrixPictureLayout(const Matrix& matrix);

  QSizeF Size() const { return size_; }
  // The cell of shown row `row` and shown column `column` (0 at the right).
  QRectF CellRect(std::int32_t row, std::int32_t column) const;
  // The cell under `point`, if any: {row, column}.
  std::optional<std::pair<std::int32_t, std::int32_t>> CellAt(QPointF point) const;

  const QFont& LetterFont() const { return letter_font_; }
  const QFont& NumberFont() const { return number_font_; }
  const QFont& TextFont() const { return text_font_; }
  const QFont& TitleFont() const { return title_font_; }
  QRectF Grid() const { return grid_; }
  qreal CellSize() const { return cell_; }
  qreal LineHeight() const { return line_height_; }
  QPointF TitleAt() const { return title_at_; }
  QPointF LegendAt() const { return legend_at_; }
  // Label every n-th column, so that numbers never overlap.
  std::int32_t ColumnLabelStep() const { return column_label_step_; }

 private:
  QFont letter_font_;
  QFont number_font_;
  QFont text_font_;
  QFont title_font_;
  qreal cell_ = 0;
  qreal line_height_ = 0;
  QRectF grid_;
  QPointF title_at_;
  QPointF legend_at_;
  std::int32_t column_label_step_ = 1;
  std::int32_t column_count_ = 0;
  std::int32_t row_count_ = 0;
  QSizeF size_;
};

// Paints the whole picture, white background included, with its top left corner at the
// painter's origin.
void PaintMatrix(QPainter& painter, const Matrix& matrix, const MatrixPictureLayout& layout);

}  // namespace quorel
