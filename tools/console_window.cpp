// SPDX-License-Identifier: GPL-3.0-or-later
#include "console_window.h"

#include <csignal>

#include "text/utf.h"

namespace quorel {
namespace {

volatile std::sig_atomic_t interrupt_seen = 0;

extern "C" void OnInterrupt(int /*signal*/) {
  interrupt_seen = 1;
}

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

}  // namespace

ConsoleWindow::ConsoleWindow(ConsoleInputs inputs, std::FILE* err, bool progress,
                             const FindTally& tally)
    : inputs_(std::move(inputs)),
      err_(err),
      tally_(tally),
      progress_on_(progress),
      started_(std::chrono::steady_clock::now()) {}

ConsoleWindow::~ConsoleWindow() {
  ClearProgress();
}

void ConsoleWindow::CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

std::u16string ConsoleWindow::GetText(Box box) {
  switch (box) {
    case Box::Text1:
      return inputs_.word;
    case Box::Text2:
      return inputs_.max_skip;
    case Box::Text3:
      return inputs_.min_skip;
    case Box::Text5:
      return progress_text_;
    case Box::Text4:
      break;  // the finds go to stdout through the sink
  }
  return {};
}

void ConsoleWindow::SetText(Box box, std::u16string_view text) {
  if (box == Box::Text1) {
    inputs_.word = text;
  } else if (box == Box::Text5) {
    progress_text_ = text;
  }
}

void ConsoleWindow::Repaint(Box box) {
  if (box == Box::Text5) {
    DrawProgress();
  }
}

int ConsoleWindow::GetCheckState() {
  return inputs_.area ? kChecked : kUnchecked;
}

void ConsoleWindow::ShowMessage(std::u16string_view text) {
  ClearProgress();
  std::fprintf(err_, "%s\n", Utf16ToUtf8(text).c_str());
  std::fflush(err_);
}

bool ConsoleWindow::IsEscapeDown() {
  return interrupt_seen != 0;
}

void ConsoleWindow::DrawProgress() {
  if (!progress_on_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (progress_shown_ && now - last_progress_ < kProgressInterval) {
    return;
  }
  last_progress_ = now;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  std::fprintf(err_, "\r\033[Kskip %s of %s..%s, %lld finds, %.1f s",
               Utf16ToUtf8(progress_text_).c_str(), Utf16ToUtf8(inputs_.min_skip).c_str(),
               Utf16ToUtf8(inputs_.max_skip).c_str(), static_cast<long long>(tally_.Finds()),
               seconds);
  std::fflush(err_);
  progress_shown_ = true;
}

void ConsoleWindow::ClearProgress() {
  if (progress_shown_) {
    std::fprintf(err_, "\r\033[K");
    std::fflush(err_);
    progress_shown_ = false;
  }
}

}  // namespace quorel
