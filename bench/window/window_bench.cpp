// quorel-window-bench: one whole search in the real window, timed from the press of Search to
// the status word, with every message box closed as soon as it opens.
//
//   quorel-window-bench [--area] WORD MIN MAX
//
// Reads Quorel.DSF from the current folder, like the window. Prints one line:
//   seconds=S cpu=S headless=H finds=N chars=C status=WORD messages=M
// where cpu is the time this process spent on the processor during the search (the X server's
// share is not in it), and headless the same search run first in this same process through
// quorel-search's console window into /dev/null: the same scanning code at the same addresses,
// so the difference is the window's alone.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

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
  const bool area = argc > 1 && std::strcmp(argv[1], "--area") == 0;
  first += area ? 1 : 0;
  if (argc - first != 3) {
    std::fputs("usage: quorel-window-bench [--area] WORD MIN MAX\n", stderr);
    return 2;
  }
  const double headless = HeadlessSeconds(argv[first], argv[first + 1], argv[first + 2], area);
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
  QElapsedTimer clock;
  clock.start();
  form.findChild<QPushButton*>("Command1")->click();
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  const double cpu = ProcessCpuSeconds() - cpu_before;

  const std::u16string result = form.GetText(quorel::Box::Text4);
  std::printf("seconds=%.3f cpu=%.3f headless=%.3f finds=%lld chars=%zu status=%s messages=%d\n",
              seconds, cpu, headless, CountFinds(result), result.size(),
              qPrintable(form.findChild<QLineEdit*>("Text5")->text()), messages);
  return 0;
}
