#include "interruption.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace quorel {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int /*signal*/) {
  interrupted.store(true);
}

}  // namespace

std::atomic<bool>& InterruptFlag() {
  return interrupted;
}

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

ProgressLine::ProgressLine(std::string_view what) : what_(what), on_(isatty(STDERR_FILENO) != 0) {}

void ProgressLine::Show(std::int64_t done, std::int64_t total) {
  if (!on_) {
    return;
  }
  std::fprintf(stderr, "\r%.*s %lld/%lld", static_cast<int>(what_.size()), what_.data(),
               static_cast<long long>(done), static_cast<long long>(total));
  std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::Clear() {
  if (shown_) {
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
  }
}

}  // namespace quorel
