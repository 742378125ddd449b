// SPDX-License-Identifier: GPL-3.0-or-later
// The two fonts that Form1 names, each with the installed fonts that stand in for it, and the
// fitting of the captions to whatever font was found.
#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

namespace quorel {

// Whether `font` draws every Hebrew letter (alef to tav, final forms included) and the blank
// at one width. A font without Hebrew letters fails: the toolkit then draws them in another,
// proportional font.
bool DrawsHebrewAtOneWidth(const QFont& font);

// Text4: "Miriam Fixed" 8.25 pt, or the first installed font down the list that draws Hebrew
// at one width, so the rows of the area view stand letter under letter.
QFont ResultBoxFont();
// The same, choosing from `families`; the toolkit's fixed-pitch font when none of them passes.
QFont ResultBoxFont(const QStringList& families);
// Command1: "MS Sans Serif" 12 pt bold, or a sans-serif bold.
QFont SearchButtonFont();
// Every other control: "MS Sans Serif" 8 pt, or a sans-serif with Hebrew letters.
QFont WindowFont();

// Makes every caption of `form`'s labels, check boxes and buttons fit its control whole: the
// font they share, and the own font of a control that has one, are made smaller, a quarter of
// a point at a time, while a caption is wider than its control.
void FitCaptions(QWidget& form);

}  // namespace quorel
