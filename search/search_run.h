// SPDX-License-Identifier: GPL-3.0-or-later
// The search run that a press of the Search button performs.
#pragma once

#include <filesystem>
#include <string_view>

#include "search/find_sink.h"
#include "search/window_operations.h"

namespace quorel {

// How a run ended. The window needs none of it; the console front end turns it into its exit
// status.
enum class RunOutcome {
  kDone,           // every skip of the range was tried: "Done."
  kAborted,        // Escape was seen at a poll: "Aborted."
  kResultBoxFull,  // a find would not fit into the result box: "Aborted."
  kOutputFailed,   // the sink could not pass a find on and said why; no status word
  kTargetRefused,  // the word was refused with its message; no status word
  kLoadFailed,     // the data file could not be loaded; no status word
  kWindowGone,     // the window was closed during the run; nothing more was touched
};

// The status word that a run ended so leaves in the progress box, or an empty string when it
// leaves none.
std::u16string_view StatusWord(RunOutcome outcome);

// How the scripting front end may widen a run. The window's run uses none of it: every skip read
// forwards, and a final form in the text never equals a letter of the word.
struct SearchOptions {
  // Every skip d of the range is also tried as -d, the word read backwards through the text. The
  // finds then come by skip magnitude, the negative skip before the positive one, and within one
  // skip by increasing position of the word's first letter; every output keeps that order.
  bool both_directions = false;
  // A final form in the text (the five of hebrew_letters.h) matches its regular letter in the
  // word. Only the scan reads the folded letters: every view shows the text's own.
  bool fold_finals = false;
};

// One whole run against `window`, reading the data file from `data_file`, with every find
// handed to `sink`.
RunOutcome RunSearch(WindowOperations& window, const std::filesystem::path& data_file,
                     FindSink& sink, const SearchOptions& options = {});
// The run of the Search button: the finds go into the result box.
RunOutcome Command1_Click(WindowOperations& window, const std::filesystem::path& data_file);
// The same, with the data file looked up in the current working directory.
RunOutcome Command1_Click(WindowOperations& window);

}  // namespace quorel
