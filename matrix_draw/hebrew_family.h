// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a font family that writes Hebrew, for every drawing with Qt: the window's boxes and
// the matrix picture.
#pragma once

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace quorel {

// The first of `families` that is installed and writes Hebrew; the last one when none is.
inline QString FirstHebrewFamily(const QStringList& families) {
  for (const QString& family : families) {
    if (QFontDatabase::hasFamily(family) &&
        QFontDatabase::writingSystems(family).contains(QFontDatabase::Hebrew)) {
      return family;
    }
  }
  return families.back();
}

}  // namespace quorel
