#include "console_window.h"

#include <unistd.h>

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

ConsoleWindow::ConsoleWindow(ConsoleInputs inputs, std::FILE* out, std::FILE* err)
    : inputs_(std::move(inputs)),
      out_(out),
      err_(err),
      progress_on_(isatty(fileno(err)) != 0),
      started_(std::chrono::steady_clock::now()) {}

ConsoleWindow::~ConsoleWindow() {
  Finish();
}

void ConsoleWindow::CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
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
      break;  // streamed out; the run only appends to it
  }
  return {};
}

void ConsoleWindow::SetText(Box box, std::u16string_view text) {
  switch (box) {
    case Box::Text1:
      inputs_.word = text;
      break;
    case Box::Text5:
      progress_text_ = text;
      break;
    case Box::Text4:
      // Only the run's first step sets it, to empty; what was streamed cannot be taken back.
      pending_.clear();
      finds_ = 0;
      break;
    default:
      break;
  }
}

void ConsoleWindow::AppendText(Box box, std::u16string_view piece) {
  if (box != Box::Text4) {
    SetText(box, GetText(box) + std::u16string(piece));
    return;
  }
  AppendUtf8(piece, pending_);
}

void ConsoleWindow::Repaint(Box box) {
  if (box == Box::Text4) {
    // The run repaints the result box once per find, and once when it empties it: a find is
    // complete, so it goes out now.
    ++finds_;
    FlushResult();
  } else if (box == Box::Text5) {
    DrawProgress(false);
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

void ConsoleWindow::PumpEvents() {
  // Once per skip: what the finds so far wrote reaches a reader without waiting for more.
  if (unflushed_) {
    std::fflush(out_);
    unflushed_ = false;
  }
}

bool ConsoleWindow::IsEscapeDown() {
  return interrupt_seen != 0;
}

void ConsoleWindow::FlushResult() {
  if (!pending_.empty()) {
    std::fwrite(pending_.data(), 1, pending_.size(), out_);
    pending_.clear();
    unflushed_ = true;
  }
}

void ConsoleWindow::Finish() {
  FlushResult();
  std::fflush(out_);
  ClearProgress();
}

void ConsoleWindow::DrawProgress(bool force) {
  if (!progress_on_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (!force && progress_shown_ && now - last_progress_ < kProgressInterval) {
    return;
  }
  last_progress_ = now;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  const long long finds = finds_ > 0 ? finds_ - 1 : 0;
  std::fprintf(err_, "\r\033[Kskip %s of %s..%s, %lld finds, %.1f s",
               Utf16ToUtf8(progress_text_).c_str(), Utf16ToUtf8(inputs_.min_skip).c_str(),
               Utf16ToUtf8(inputs_.max_skip).c_str(), finds, seconds);
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
