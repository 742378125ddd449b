// SPDX-License-Identifier: GPL-3.0-or-later
#include "matrix_draw/matrix_export.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

#include "matrix/matrix_plain_text.h"
#include "matrix_draw/matrix_picture.h"

namespace quorel {
namespace {

// Pictures are measured in pixels of 1/96 inch.
constexpr int kPictureDpi = 96;

QByteArray PngBytes(const Matrix& matrix) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  MatrixImage(matrix).save(&buffer, "PNG");
  return bytes;
}

QByteArray SvgBytes(const Matrix& matrix) {
  const MatrixPictureLayout layout(matrix);
  const QSize size = layout.Size().toSize();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(kPictureDpi);
  svg.setTitle(QString::fromStdU16String(matrix.words.front().word));
  svg.setDescription(QString::fromStdString(MatrixSummary(matrix)));
  QPainter painter(&svg);
  PaintMatrix(painter, matrix, layout);
  painter.end();
  return bytes;
}

QByteArray PdfBytes(const Matrix& matrix) {
  const MatrixPictureLayout layout(matrix);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setResolution(kPictureDpi);
  const QSizeF points = layout.Size() * 72.0 / kPictureDpi;
  pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait,
                                QMarginsF(0, 0, 0, 0), QPageLayout::Point));
  pdf.setTitle(QString::fromStdU16String(matrix.words.front().word));
  pdf.setCreator(QStringLiteral("quorel"));
  QPainter painter(&pdf);
  PaintMatrix(painter, matrix, layout);
  painter.end();
  return bytes;
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& file_name) {
  const QString lower = file_name.toLower();
  if (lower.endsWith(QLatin1String(".png"))) {
    return PictureFormat::kPng;
  }
  if (lower.endsWith(QLatin1String(".svg"))) {
    return PictureFormat::kSvg;
  }
  if (lower.endsWith(QLatin1String(".pdf"))) {
    return PictureFormat::kPdf;
  }
  return std::nullopt;
}

QImage MatrixImage(const Matrix& matrix, qreal scale) {
  const MatrixPictureLayout layout(matrix);
  const QSize size(static_cast<int>(std::ceil(layout.Size().width() * scale)),
                   static_cast<int>(std::ceil(layout.Size().height() * scale)));
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(static_cast<int>(std::lround(kPictureDpi * scale / 0.0254)));
  image.setDotsPerMeterY(image.dotsPerMeterX());
  QPainter painter(&image);
  painter.scale(scale, scale);
  PaintMatrix(painter, matrix, layout);
  painter.end();
  return image;
}

QByteArray MatrixPictureBytes(const Matrix& matrix, PictureFormat format) {
  switch (format) {
    case PictureFormat::kPng:
      return PngBytes(matrix);
    case PictureFormat::kSvg:
      return SvgBytes(matrix);
    case PictureFormat::kPdf:
      return PdfBytes(matrix);
  }
  return {};
}

std::optional<QString> SaveMatrixPicture(const Matrix& matrix, PictureFormat format,
                                         const QString& file) {
  const QByteArray bytes = MatrixPictureBytes(matrix, format);
  if (bytes.isEmpty()) {
    return QStringLiteral("The picture for %1 could not be made.").arg(file);
  }
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    return QStringLiteral("Could not write %1: %2.").arg(file, out.errorString());
  }
  return std::nullopt;
}

}  // namespace quorel
