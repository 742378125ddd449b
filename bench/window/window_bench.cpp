// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-window-bench: one whole search in the real window, timed from the press of Search to
// the status word, with every message box closed as soon as it opens.
//
//   quorel-window-bench [--area] [--window-only] WORD MIN MAX
//
// Reads Quorel.DSF from the current folder, like the window. Prints one line:
//   seconds=S cpu=S headless=H finds=N chars=C status=WORD messages=M
//     wait_max_ms=W wait_p99_ms=P waits=K rss_mb=R peak_mb=M
// where cpu is the time this process spent on the processor during the search (the X server's
// share is not in it), and headless the same search run first in this same process through
// quorel-search's console window into /dev/null: the same scanning code at the same addresses,
// so the difference is the window's alone. wait_max_ms and wait_p99_ms are how long an input
// event waited during the search before the window handled it: a thread posts one every 10 ms
// and each is timed from its posting to its handling (K of them in all). A click, a key and the
// Escape poll that follows a yield wait no longer than this. rss_mb is the process's resident
// memory at the end, the full result box included, and peak_mb its highest point. --window-only
// leaves the headless search out (headless=0), for words whose finds take the console minutes to
// print.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "search/search_run.h"
#include "tools/console_window.h"
#include "tools/output_stream.h"
#include "tools/result_text.h"
#include "ui/form1.h"

namespace {

// Closes each message box as it opens; the run goes on as if the user had pressed OK.
void CloseMessagesAsTheyOpen(int& count) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [&count] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
      ++count;
      box->accept();
    }
  });
  timer->start(10);
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The search through the console front end, its result text written to /dev/null.
double HeadlessSeconds(const char* word, const char* min_skip, const char* max_skip, bool area) {
  const int null_output = open("/dev/null", O_WRONLY);
  std::FILE* messages = std::fopen("/dev/null", "w");
  double seconds = 0;
  {
    quorel::OutputStream out(null_output, "the result text");
    quorel::ResultTextWriter writer(out, area);
    quorel::FindTally tally(writer);
    quorel::ConsoleWindow console(
        {QString::fromUtf8(word).toStdU16String(), QString::fromUtf8(min_skip).toStdU16String(),
         QString::fromUtf8(max_skip).toStdU16String(), area},
        messages, false, tally);
    QElapsedTimer clock;
    clock.start();
    quorel::RunSearch(console, quorel::kDataFileName, tally);
    out.Flush();
    seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  }
  std::fclose(messages);
  close(null_output);
  return seconds;
}

using Clock = std::chrono::steady_clock;

// An input event as the window's thread sees it: posted from another thread, like the events
// that the windowing system delivers, and handled only when the window handles its events.
class TimedEvent final : public QEvent {
 public:
  TimedEvent() : QEvent(kType), posted(Clock::now()) {}
  static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 1);
  Clock::time_point posted;
};

class WaitRecorder final : public QObject {
 public:
  std::vector<double> waits_ms;

 protected:
  bool event(QEvent* event) override {
    if (event->type() != TimedEvent::kType) {
      return QObject::event(event);
    }
    const auto waited = Clock::now() - static_cast<TimedEvent*>(event)->posted;
    waits_ms.push_back(std::chrono::duration<double, std::milli>(waited).count());
    return true;
  }
};

// Posts a TimedEvent every 10 ms until stopped.
class InputSimulator {
 public:
  explicit InputSimulator(WaitRecorder& recorder)
      : thread_([this, &recorder] {
          while (!stop_) {
            QCoreApplication::postEvent(&recorder, new TimedEvent);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
        }) {}
  ~InputSimulator() {
    stop_ = true;
    thread_.join();
  }
  InputSimulator(const InputSimulator&) = delete;
  InputSimulator& operator=(const InputSimulator&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// A figure of /proc/self/status in megabytes: VmRSS (resident now) or VmHWM (its peak).
double StatusMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == field) {
      double kilobytes = 0;
      status >> kilobytes;
      return kilobytes / 1024;
    }
  }
  return 0;
}

long long CountFinds(const std::u16string& text) {
  long long finds = 0;
  for (std::size_t at = text.find(u"Skip: "); at != std::u16string::npos;
       at = text.find(u"Skip: ", at + 1)) {
    ++finds;
  }
  return finds;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool area = argc > first && std::strcmp(argv[first], "--area") == 0;
  first += area ? 1 : 0;
  const bool window_only = argc > first && std::strcmp(argv[first], "--window-only") == 0;
  first += window_only ? 1 : 0;
  if (argc - first != 3) {
    std::fputs("usage: quorel-window-bench [--area] [--window-only] WORD MIN MAX\n", stderr);
    return 2;
  }
  const double headless =
      window_only ? 0.0 : HeadlessSeconds(argv[first], argv[first + 1], argv[first + 2], area);
  int toolkit_argc = 1;
  QApplication application(toolkit_argc, argv);
  quorel::Form1 form;
  form.show();
  form.findChild<QLineEdit*>("Text1")->setText(QString::fromUtf8(argv[first]));
  form.findChild<QLineEdit*>("Text3")->setText(QString::fromUtf8(argv[first + 1]));
  form.findChild<QLineEdit*>("Text2")->setText(QString::fromUtf8(argv[first + 2]));
  form.findChild<QCheckBox*>("Check1")->setChecked(area);
  // Let the window be mapped and drawn before the clock starts.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 500) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  int messages = 0;
  CloseMessagesAsTheyOpen(messages);
  const double cpu_before = ProcessCpuSeconds();
  WaitRecorder recorder;
  QElapsedTimer clock;
  double seconds = 0;
  {
    const InputSimulator input(recorder);
    clock.start();
    form.findChild<QPushButton*>("Command1")->click();
    seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  }
  const double cpu = ProcessCpuSeconds() - cpu_before;
  // Events posted near the end wait for the run's return; they are handled here.
  QCoreApplication::sendPostedEvents(&recorder);
  const double resident = StatusMegabytes("VmRSS:");
  const double peak = StatusMegabytes("VmHWM:");

  const std::u16string result = form.GetText(quorel::Box::Text4);
  std::printf(
      "seconds=%.3f cpu=%.3f headless=%.3f finds=%lld chars=%zu status=%s messages=%d "
      "wait_max_ms=%.1f wait_p99_ms=%.1f waits=%zu rss_mb=%.0f peak_mb=%.0f\n",
      seconds, cpu, headless, CountFinds(result), result.size(),
      qPrintable(form.findChild<QLineEdit*>("Text5")->text()), messages,
      Percentile(recorder.waits_ms, 1.0), Percentile(recorder.waits_ms, 0.99),
      recorder.waits_ms.size(), resident, peak);
  return 0;
}
