// Ctrl-C during a study: the first asks the controls to stop after the ones under way, so that
// what was done can still be reported (as such); a second ends the program at once.
#pragma once

#include <atomic>

namespace quorel {

// Installs the handlers of SIGINT and SIGTERM, and ignores SIGPIPE so that writing to a closed
// pipe is an error the program reports rather than a silent death.
void CatchStudyInterrupt();

// Set by the first SIGINT or SIGTERM.
const std::atomic<bool>& StudyInterrupted();

}  // namespace quorel
