#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace quorel {
namespace {

// The first of `families` that is installed and writes Hebrew; the last one when none is.
QString FirstHebrewFamily(const QStringList& families) {
  for (const QString& family : families) {
    if (QFontDatabase::hasFamily(family) &&
        QFontDatabase::writingSystems(family).contains(QFontDatabase::Hebrew)) {
      return family;
    }
  }
  return families.back();
}

// Nachlieli CLM (culmus) is about as wide as MS Sans Serif; DejaVu Sans is wider.
QString SansSerifFamily() {
  return FirstHebrewFamily({"MS Sans Serif", "Microsoft Sans Serif", "Nachlieli CLM", "DejaVu Sans",
                            "Liberation Sans", "FreeSans"});
}

}  // namespace

QFont ResultBoxFont() {
  // Debian's culmus package installs Miriam Mono CLM, a fixed-pitch Miriam.
  QFont font(FirstHebrewFamily(
      {"Miriam Fixed", "Miriam Mono CLM", "DejaVu Sans Mono", "FreeMono", "Liberation Mono"}));
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

QFont SearchButtonFont() {
  QFont font(SansSerifFamily());
  font.setPointSize(12);
  font.setWeight(QFont::Bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont WindowFont() {
  QFont font(SansSerifFamily());
  font.setPointSize(8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace quorel
