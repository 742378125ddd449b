// Ctrl-C during a long study: the handler only sets a flag, and the work looks at it between
// pieces, so whatever is reported afterwards says how far the study got.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace quorel {

// Set by SIGINT once CatchInterrupts has run.
std::atomic<bool>& InterruptFlag();
void CatchInterrupts();

// A progress line on stderr, "\rWHAT DONE/TOTAL", only when stderr is a terminal; Clear() wipes it
// so the messages after it start on a clean line.
class ProgressLine {
 public:
  explicit ProgressLine(std::string_view what);
  void Show(std::int64_t done, std::int64_t total);
  void Clear();

 private:
  std::string_view what_;
  bool on_;
  bool shown_ = false;
};

}  // namespace quorel
