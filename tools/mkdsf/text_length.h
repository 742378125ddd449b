// SPDX-License-Identifier: GPL-3.0-or-later
// The number of letters a data file may hold: the window reads TEXT_LENGTH positions and refuses
// a longer file.
#pragma once

#include <string>

namespace quorel::mkdsf {

enum class LengthVerdict {
  kComplete,   // exactly TEXT_LENGTH letters
  kShort,      // fewer: the window leaves the positions past the last letter blank
  kEmpty,      // no letter at all: nothing worth writing
  kTooLong,    // more than the window can load, and no truncation asked for
  kTruncated,  // more, cut down to the first TEXT_LENGTH letters as asked
};

// Judges the number of `letters`, cutting them to TEXT_LENGTH when there are more and
// `truncate` asks for it.
LengthVerdict FitToTextLength(std::string& letters, bool truncate);

}  // namespace quorel::mkdsf
