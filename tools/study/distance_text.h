// SPDX-License-Identifier: GPL-3.0-or-later
// What the distance commands read: the letters of a data file and the words typed or listed,
// both with final forms read as their regular letters.
#pragma once

#include <string>
#include <string_view>

#include "study/largest_skip.h"

namespace quorel {

struct DistanceText {
  std::u16string letters;  // the letters the data file holds, final forms folded
  LetterCounts counts;
};

// Loads the data file `data` (Quorel.DSF of the current folder by default); throws StudyFailure
// with the loader's sentence.
DistanceText LoadDistanceText(const std::string& data);

// A word as the window prepares it, final forms folded, and at least three letters long: the
// perturbations move a word's last three letters. Throws StudyFailure (kStudyRefused).
std::u16string DistanceWord(const std::string& typed);

}  // namespace quorel
