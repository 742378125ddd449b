// The two fonts that Form1 names, each with the installed fonts that stand in for it.
#pragma once

#include <QFont>

namespace quorel {

// Text4: "Miriam Fixed" 8.25 pt, or a fixed-pitch font with Hebrew letters, so the rows of the
// area view stand letter under letter.
QFont ResultBoxFont();
// Command1: "MS Sans Serif" 12 pt bold, or a sans-serif bold.
QFont SearchButtonFont();
// Every other control: "MS Sans Serif" 8 pt, or a sans-serif with Hebrew letters whose captions
// fit their controls as they would in it.
QFont WindowFont();

}  // namespace quorel
