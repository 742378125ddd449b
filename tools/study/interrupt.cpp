#include "tools/study/interrupt.h"

#include <csignal>

namespace quorel {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnStudyInterrupt(int signal_number) {
  interrupted.store(true);
  std::signal(signal_number, SIG_DFL);  // a second press ends the program
}

}  // namespace

void CatchStudyInterrupt() {
  std::signal(SIGINT, OnStudyInterrupt);
  std::signal(SIGTERM, OnStudyInterrupt);
  std::signal(SIGPIPE, SIG_IGN);
}

const std::atomic<bool>& StudyInterrupted() {
  return interrupted;
}

}  // namespace quorel
