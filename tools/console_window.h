// SPDX-License-Identifier: GPL-3.0-or-later
// The window operations for a terminal: the boxes' inputs come from the command line, messages
// and the status word go to stderr, and Ctrl-C plays Escape. The finds themselves go to stdout
// through a sink, never through the result box.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "search/find_sink.h"
#include "search/window_operations.h"

namespace quorel {

struct ConsoleInputs {
  std::u16string word;      // Text1
  std::u16string min_skip;  // Text3
  std::u16string max_skip;  // Text2
  bool area = false;        // Check1 checked
};

// Counts the finds of the skips done, for the progress line, and hands everything on to the
// sink that writes them.
class FindTally final : public FindSink {
 public:
  explicit FindTally(FindSink& sink) : sink_(sink) {}

  void Begin(const LetterText& text, std::u16string_view target) override {
    sink_.Begin(text, target);
  }
  bool Take(const Find& find) override { return sink_.Take(find); }
  void SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t finds) override {
    finds_ += static_cast<std::int64_t>(finds);
    sink_.SkipDone(skip, start_positions, finds);
  }
  bool Failed() const override { return sink_.Failed(); }

  std::int64_t Finds() const { return finds_; }

 private:
  FindSink& sink_;
  std::int64_t finds_ = 0;
};

class ConsoleWindow final : public WindowOperations {
 public:
  // `progress` draws a progress line on `err` (meant for a terminal); `tally` gives its number
  // of finds.
  ConsoleWindow(ConsoleInputs inputs, std::FILE* err, bool progress, const FindTally& tally);
  ~ConsoleWindow() override;

  std::u16string GetText(Box box) override;
  void SetText(Box box, std::u16string_view text) override;
  void Repaint(Box box) override;
  int GetCheckState() override;
  void ShowMessage(std::u16string_view text) override;
  void PumpEvents() override {}
  bool IsEscapeDown() override;

  // Takes the progress line off the screen, so that what comes next starts on a clean line.
  void ClearProgress();
  // Makes Ctrl-C set the flag that IsEscapeDown reports, instead of ending the process; a
  // write that the signal interrupts goes on where it was.
  static void CatchInterrupt();

 private:
  void DrawProgress();

  ConsoleInputs inputs_;
  std::u16string progress_text_;  // Text5
  std::FILE* err_;
  const FindTally& tally_;
  bool progress_shown_ = false;
  bool progress_on_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point last_progress_;
};

}  // namespace quorel
