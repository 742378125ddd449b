// SPDX-License-Identifier: GPL-3.0-or-later
#include "matrix_draw/matrix_picture.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

#include "matrix/matrix_plain_text.h"
#include "matrix_draw/hebrew_family.h"

namespace quorel {
namespace {

constexpr qreal kMargin = 16;
constexpr qreal kCell = 26;
constexpr std::size_t kFindsListed = 6;
constexpr std::int32_t kMostColumnsWithLegendBeside = 30;

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

// Fonts sized in pixels, so a picture measures the same on the screen, in an image and in SVG
// or PDF, whatever their resolution.
QFont PixelFont(const QString& family, int pixels, QFont::Weight weight = QFont::Normal) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setWeight(weight);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// The title after the find's word.
QString TitleText(const Matrix& matrix) {
  return FromUtf8(FindSummary(matrix.words.front().finds.front()));
}

// Draws a Hebrew word and then, apart from it, the text about it; returns where it ended.
void DrawWordAndText(QPainter& painter, QPointF at, const QString& word, const QString& text) {
  if (!word.isEmpty()) {
    painter.drawText(at, word);
    const QFontMetricsF metrics(painter.font());
    at.rx() += metrics.horizontalAdvance(word) + metrics.horizontalAdvance(QStringLiteral("  "));
  }
  painter.drawText(at, text);
}

}  // namespace

QColor MarkColour(std::size_t word) {
  static const std::array<QColor, 10> colours = {
      QColor(0xE0, 0x9A, 0x00), QColor(0x1F, 0x77, 0xB4), QColor(0x2C, 0xA0, 0x2C),
      QColor(0xD6, 0x27, 0x28), QColor(0x94, 0x67, 0xBD), QColor(0x8C, 0x56, 0x4B),
      QColor(0xE3, 0x77, 0xC2), QColor(0x17, 0xBE, 0xCF), QColor(0x7F, 0x7F, 0x7F),
      QColor(0xBC, 0xBD, 0x22)};
  return colours[word % colours.size()];
}

std::vector<LegendLine> MatrixLegend(const Matrix& matrix) {
  std::vector<LegendLine> lines;
  const MarkedWord& own = matrix.words.front();
  lines.push_back({FromUtf8(WordAsWritten(own.word)),
                   FromUtf8(FindSummary(own.finds.front())) + QStringLiteral(" (the find)"), 0,
                   false});
  for (std::size_t k = 1; k < matrix.words.size(); ++k) {
    const MarkedWord& word = matrix.words[k];
    lines.push_back({FromUtf8(WordAsWritten(word.word)), FromUtf8(CountSummary(word)), k, false});
    lines.push_back({QString(), FromUtf8(ExpectedExplanation(word)), std::nullopt, true});
    const std::size_t listed = std::min(word.finds.size(), kFindsListed);
    for (std::size_t f = 0; f < listed; ++f) {
      lines.push_back({QString(), FromUtf8(FindSummary(word.finds[f])), std::nullopt, true});
    }
    if (word.finds.size() > listed) {
      lines.push_back({QString(), QStringLiteral("and %1 more").arg(word.finds.size() - listed),
                       std::nullopt, true});
    }
  }
  lines.push_back({QString(), FromUtf8(MatrixSummary(matrix)), std::nullopt, false});
  return lines;
}

MatrixPictureLayout::MatrixPictureLayout(const Matrix& matrix)
    : column_count_(matrix.column_count), row_count_(matrix.row_count) {
  const QString family = FirstHebrewFamily(
      {"Taamey Frank CLM", "Frank Ruehl CLM", "David CLM", "DejaVu Sans", "FreeSans"});
  const QString text_family =
      FirstHebrewFamily({"Nachlieli CLM", "DejaVu Sans", "Liberation Sans", "FreeSans"});
  letter_font_ = PixelFont(family, 18);
  number_font_ = PixelFont(text_family, 10);
  text_font_ = PixelFont(text_family, 13);
  title_font_ = PixelFont(text_family, 15, QFont::Bold);
  cell_ = kCell;
  const QFontMetricsF numbers(number_font_);
  const QFontMetricsF text(text_font_);
  line_height_ = std::ceil(text.height() * 1.3);

  const std::int32_t widest_column = matrix.first_column + matrix.column_count;
  const qreal column_label = numbers.horizontalAdvance(QString::number(widest_column)) + 4;
  column_label_step_ =
      std::max<std::int32_t>(1, static_cast<std::int32_t>(std::ceil(column_label / cell_)));
  // Steps of 1, 2, 5, 10, ... read more easily than steps of 3 or 7.
  for (const std::int32_t step : {1, 2, 5, 10, 20, 50, 100}) {
    if (step >= column_label_step_) {
      column_label_step_ = step;
      break;
    }
  }
  const qreal row_label = numbers.horizontalAdvance(QString::number(matrix.row_count)) + 8;

  title_at_ = QPointF(kMargin, kMargin + QFontMetricsF(title_font_).ascent());
  const qreal grid_top = kMargin + QFontMetricsF(title_font_).height() + 8 + numbers.height() + 4;
  grid_ = QRectF(kMargin, grid_top, cell_ * matrix.column_count, cell_ * matrix.row_count);
  // A narrow grid has its legend beside it, a wide one below it.
  const bool beside = matrix.column_count <= kMostColumnsWithLegendBeside;
  legend_at_ = beside ? QPointF(grid_.right() + row_label + 2 * kMargin, grid_.top())
                      : QPointF(kMargin, grid_.bottom() + 14);

  qreal width = grid_.right() + row_label;
  const QFontMetricsF title(title_font_);
  width = std::max(
      width, kMargin + title.horizontalAdvance(FromUtf8(WordAsWritten(matrix.words.front().word))) +
                 title.horizontalAdvance(QStringLiteral("  ")) +
                 title.horizontalAdvance(TitleText(matrix)));
  const std::vector<LegendLine> legend = MatrixLegend(matrix);
  for (const LegendLine& line : legend) {
    width = std::max(width, legend_at_.x() + 2 * cell_ + text.horizontalAdvance(line.word) +
                                text.horizontalAdvance(QStringLiteral("  ")) +
                                text.horizontalAdvance(line.text));
  }
  const qreal legend_bottom = legend_at_.y() + line_height_ * static_cast<qreal>(legend.size());
  size_ = QSizeF(std::ceil(width + kMargin),
                 std::ceil(std::max(legend_bottom, grid_.bottom()) + kMargin));
}

QRectF MatrixPictureLayout::CellRect(std::int32_t row, std::int32_t column) const {
  // Column 0, the row's first shown letter, stands at the right.
  return QRectF(grid_.right() - cell_ * (column + 1), grid_.top() + cell_ * row, cell_, cell_);
}

std::optional<std::pair<std::int32_t, std::int32_t>> MatrixPictureLayout::CellAt(
    QPointF point) const {
  if (!grid_.contains(point)) {
    return std::nullopt;
  }
  const auto row = static_cast<std::int32_t>((point.y() - grid_.top()) / cell_);
  const auto column = static_cast<std::int32_t>((grid_.right() - point.x()) / cell_);
  if (row < 0 || row >= row_count_ || column < 0 || column >= column_count_) {
    return std::nullopt;
  }
  return std::make_pair(row, column);
}

namespace {

// Each mark of a cell gets a band of the cell in its word's light colour; the find's letters
// are framed in its colour as well.
void PaintMarks(QPainter& painter, const QRectF& cell, std::uint32_t marks) {
  std::vector<std::size_t> words;
  for (std::size_t k = 0; k < 32; ++k) {
    if ((marks >> k & 1u) != 0) {
      words.push_back(k);
    }
  }
  if (words.empty()) {
    return;
  }
  const qreal band = cell.height() / static_cast<qreal>(words.size());
  for (std::size_t k = 0; k < words.size(); ++k) {
    QColor light = MarkColour(words[k]);
    light.setAlpha(110);
    painter.fillRect(
        QRectF(cell.left(), cell.top() + band * static_cast<qreal>(k), cell.width(), band), light);
  }
  if (words.front() == 0) {
    painter.setPen(QPen(MarkColour(0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(cell.adjusted(2, 2, -2, -2));
  }
}

void PaintGrid(QPainter& painter, const Matrix& matrix, const MatrixPictureLayout& layout) {
  const QColor outside(0xEE, 0xEE, 0xEE);
  painter.setFont(layout.LetterFont());
  for (std::int32_t row = 0; row < matrix.row_count; ++row) {
    for (std::int32_t column = 0; column < matrix.column_count; ++column) {
      const MatrixCell& cell = matrix.At(row, column);
      const QRectF rect = layout.CellRect(row, column);
      if (cell.position == 0) {
        painter.fillRect(rect, outside);
        continue;
      }
      PaintMarks(painter, rect, cell.marks);
      painter.setPen(Qt::black);
      painter.drawText(rect, Qt::AlignCenter, QString(QChar(cell.letter)));
    }
  }
  painter.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), 1));
  const QRectF grid = layout.Grid();
  for (std::int32_t row = 0; row <= matrix.row_count; ++row) {
    const qreal y = grid.top() + layout.CellSize() * row;
    painter.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
  }
  for (std::int32_t column = 0; column <= matrix.column_count; ++column) {
    const qreal x = grid.left() + layout.CellSize() * column;
    painter.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
  }
}

void PaintNumbers(QPainter& painter, const Matrix& matrix, const MatrixPictureLayout& layout) {
  painter.setFont(layout.NumberFont());
  painter.setPen(QColor(0x60, 0x60, 0x60));
  const qreal height = QFontMetricsF(layout.NumberFont()).height();
  const std::int32_t step = layout.ColumnLabelStep();
  for (std::int32_t column = 0; column < matrix.column_count; ++column) {
    const std::int32_t number = matrix.first_column + column + 1;
    if (number % step != 0 && column != 0) {
      continue;
    }
    const QRectF cell = layout.CellRect(0, column);
    const QRectF label(cell.center().x() - 40, cell.top() - height - 3, 80, height);
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignBottom, QString::number(number));
  }
  for (std::int32_t row = 0; row < matrix.row_count; ++row) {
    const QRectF cell = layout.CellRect(row, 0);
    const QRectF label(cell.right() + 5, cell.top(), 60, cell.height());
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, QString::number(row + 1));
  }
}

void PaintLegend(QPainter& painter, const Matrix& matrix, const MatrixPictureLayout& layout) {
  painter.setFont(layout.TitleFont());
  painter.setPen(Qt::black);
  DrawWordAndText(painter, layout.TitleAt(), FromUtf8(WordAsWritten(matrix.words.front().word)),
                  TitleText(matrix));
  painter.setFont(layout.TextFont());
  const QFontMetricsF metrics(layout.TextFont());
  const qreal swatch = layout.CellSize() * 0.6;
  QPointF at = layout.LegendAt();
  for (const LegendLine& line : MatrixLegend(matrix)) {
    const qreal text_x = at.x() + (line.indented ? 2 * layout.CellSize() : layout.CellSize());
    if (line.colour) {
      QColor light = MarkColour(*line.colour);
      light.setAlpha(110);
      const QRectF box(at.x(), at.y() + (layout.LineHeight() - swatch) / 2, swatch, swatch);
      painter.fillRect(box, light);
      painter.setPen(QPen(MarkColour(*line.colour), 1.5));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(box);
    }
    painter.setPen(line.indented ? QColor(0x40, 0x40, 0x40) : Qt::black);
    const qreal baseline =
        at.y() + (layout.LineHeight() + metrics.ascent() - metrics.descent()) / 2;
    DrawWordAndText(painter, QPointF(text_x, baseline), line.word, line.text);
    at.ry() += layout.LineHeight();
  }
}

}  // namespace

void PaintMatrix(QPainter& painter, const Matrix& matrix, const MatrixPictureLayout& layout) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(QRectF(QPointF(0, 0), layout.Size()), Qt::white);
  PaintGrid(painter, matrix, layout);
  PaintNumbers(painter, matrix, layout);
  PaintLegend(painter, matrix, layout);
  painter.restore();
}

}  // namespace quorel
