#include "tools/study/progress_bar.h"

#include <unistd.h>

#include <string>

namespace quorel {
namespace {

constexpr int kBarWidth = 24;

std::string Duration(double seconds) {
  const auto whole = static_cast<long long>(seconds + 0.5);
  if (whole < 60) {
    return std::to_string(whole) + " s";
  }
  if (whole < 3600) {
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
  }
  return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min";
}

}  // namespace

ProgressBar::ProgressBar(std::FILE* out, std::int64_t total)
    : out_(out), total_(total), drawing_(isatty(fileno(out)) != 0) {}

void ProgressBar::Show(std::int64_t done) {
  if (!drawing_ || total_ <= 0) {
    return;
  }
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const int filled = static_cast<int>(done * kBarWidth / total_);
  std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
                     std::to_string(done) + "/" + std::to_string(total_) + " controls";
  if (done > 0 && elapsed > 0) {
    const double rate = static_cast<double>(done) / elapsed;
    char figures[96];
    std::snprintf(figures, sizeof figures, ", %.1f/s", rate);
    line += figures;
    line += ", " + Duration(static_cast<double>(total_ - done) / rate) + " left";
  }
  line += "\x1b[K";  // clears what a longer line left behind
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  drawn_ = true;
}

void ProgressBar::Clear() {
  if (drawn_) {
    std::fputs("\r\x1b[K", out_);
    std::fflush(out_);
    drawn_ = false;
  }
}

}  // namespace quorel
