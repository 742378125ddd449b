// The window operations for a terminal: the boxes' inputs come from the command line, the result
// box streams to stdout, messages and the status word go to stderr, and Ctrl-C plays Escape.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "search/window_operations.h"

namespace quorel {

struct ConsoleInputs {
  std::u16string word;      // Text1
  std::u16string min_skip;  // Text3
  std::u16string max_skip;  // Text2
  bool area = false;        // Check1 checked
};

class ConsoleWindow final : public WindowOperations {
 public:
  ConsoleWindow(ConsoleInputs inputs, std::FILE* out, std::FILE* err);
  ~ConsoleWindow() override;

  std::u16string GetText(Box box) override;
  void SetText(Box box, std::u16string_view text) override;
  void AppendText(Box box, std::u16string_view piece) override;
  void Repaint(Box box) override;
  int GetCheckState() override;
  void ShowMessage(std::u16string_view text) override;
  void PumpEvents() override;
  bool IsEscapeDown() override;

  // Writes out what is still buffered and clears the progress line.
  void Finish();
  // Makes Ctrl-C set the flag that IsEscapeDown reports, instead of ending the process.
  static void CatchInterrupt();

 private:
  void FlushResult();
  void DrawProgress(bool force);
  void ClearProgress();

  ConsoleInputs inputs_;
  std::u16string progress_text_;  // Text5
  std::FILE* out_;
  std::FILE* err_;
  std::string pending_;  // UTF-8 of the find being appended
  bool unflushed_ = false;
  std::int64_t finds_ = 0;
  bool progress_shown_ = false;
  bool progress_on_ = false;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point last_progress_;
};

}  // namespace quorel
