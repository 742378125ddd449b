// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QWidget>
#include <vector>

#include "matrix_draw/hebrew_family.h"
#include "text/hebrew_letters.h"

namespace quorel {
namespace {

// Nachlieli CLM (culmus) is about as wide as MS Sans Serif; DejaVu Sans is wider, and the
// captions are fitted to it (FitCaptions).
QString SansSerifFamily() {
  return FirstHebrewFamily({"MS Sans Serif", "Microsoft Sans Serif", "Nachlieli CLM", "DejaVu Sans",
                            "Liberation Sans", "FreeSans"});
}

QFont ResultBoxFontOf(const QString& family) {
  QFont font(family);
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

// Half a point above this the captions are still readable on any screen.
constexpr qreal kSmallestCaptionPoints = 5.0;
constexpr qreal kCaptionStep = 0.25;

bool CaptionFits(const QWidget& control) {
  if (const auto* label = qobject_cast<const QLabel*>(&control)) {
    return QFontMetricsF(label->font()).horizontalAdvance(label->text()) <=
           label->contentsRect().width();
  }
  if (qobject_cast<const QAbstractButton*>(&control) != nullptr) {
    return control.sizeHint().width() <= control.width();
  }
  return true;
}

// The controls whose captions `form`'s own font draws, or the one control with a font of its
// own.
std::vector<QWidget*> CaptionedControls(QWidget& form, bool own_font) {
  std::vector<QWidget*> controls;
  for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const bool captioned =
        qobject_cast<QLabel*>(child) != nullptr || qobject_cast<QAbstractButton*>(child) != nullptr;
    if (captioned && child->testAttribute(Qt::WA_SetFont) == own_font) {
      controls.push_back(child);
    }
  }
  return controls;
}

bool AllFit(const std::vector<QWidget*>& controls) {
  for (const QWidget* control : controls) {
    if (!CaptionFits(*control)) {
      return false;
    }
  }
  return true;
}

// Makes `owner`'s font smaller until every caption of `controls` fits.
void ShrinkUntilFit(QWidget& owner, const std::vector<QWidget*>& controls) {
  QFont font = owner.font();
  if (font.pointSizeF() <= 0) {
    return;  // a font sized in pixels is left as it is
  }
  while (!AllFit(controls) && font.pointSizeF() - kCaptionStep >= kSmallestCaptionPoints) {
    font.setPointSizeF(font.pointSizeF() - kCaptionStep);
    owner.setFont(font);
  }
}

}  // namespace

bool DrawsHebrewAtOneWidth(const QFont& font) {
  const QFontMetricsF metrics(font);
  const qreal column = metrics.horizontalAdvance(QChar(u' '));
  if (column <= 0) {
    return false;
  }
  for (char16_t letter = kAlef; letter <= kTav; ++letter) {
    if (metrics.horizontalAdvance(QChar(letter)) != column) {
      return false;
    }
  }
  return true;
}

QFont ResultBoxFont(const QStringList& families) {
  for (const QString& family : families) {
    if (QFontDatabase::hasFamily(family)) {
      QFont font = ResultBoxFontOf(family);
      if (DrawsHebrewAtOneWidth(font)) {
        return font;
      }
    }
  }
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(8.25);
  return fixed;
}

QFont ResultBoxFont() {
  // Debian's culmus package installs Miriam Mono CLM, a fixed-pitch Miriam.
  return ResultBoxFont({"Miriam Fixed", "Miriam Mono CLM", "Liberation Mono", "FreeMono"});
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

void FitCaptions(QWidget& form) {
  ShrinkUntilFit(form, CaptionedControls(form, false));
  for (QWidget* control : CaptionedControls(form, true)) {
    ShrinkUntilFit(*control, {control});
  }
}

}  // namespace quorel
