// The progress of a study on a terminal: controls done, the rate and the time left, redrawn in
// place on one line of stderr. Silent when stderr is not a terminal, so logs stay clean.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace quorel {

class ProgressBar {
 public:
  // Draws only if `out` is a terminal.
  ProgressBar(std::FILE* out, std::int64_t total);
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;
  ~ProgressBar() { Clear(); }

  void Show(std::int64_t done);
  // Removes the line, leaving the cursor at its start.
  void Clear();

 private:
  std::FILE* out_;
  std::int64_t total_;
  bool drawing_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace quorel
