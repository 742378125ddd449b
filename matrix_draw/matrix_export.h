// SPDX-License-Identifier: GPL-3.0-or-later
// The matrix picture as a file: PNG, SVG with its letters as text, or PDF. Each is made in
// memory and then written, so a failed write leaves no half-made picture behind.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "matrix/matrix.h"

namespace quorel {

enum class PictureFormat { kPng, kSvg, kPdf };

// The format a file name's ending asks for (.png, .svg, .pdf, any case).
std::optional<PictureFormat> PictureFormatOf(const QString& file_name);

// The picture at `scale` times its size: a scale of 2 gives a sharper print.
QImage MatrixImage(const Matrix& matrix, qreal scale = 1);
// The bytes of the picture in `format`.
QByteArray MatrixPictureBytes(const Matrix& matrix, PictureFormat format);

// Writes the picture to `file`, replacing it whole or not at all; returns one sentence naming
// the file and the cause when the write failed, nothing when it succeeded.
std::optional<QString> SaveMatrixPicture(const Matrix& matrix, PictureFormat format,
                                         const QString& file);

}  // namespace quorel
