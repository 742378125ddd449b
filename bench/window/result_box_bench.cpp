// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-result-box-bench: how the result box answers scrolling and typing as it fills up, to
// choose its capacity.
//
//   quorel-result-box-bench [MILLIONS_OF_CHARACTERS...]   (default 4 8 16 32)
//
// Fills Text4 of a real Form1 with area-view rows through the window's own append, and at each
// size prints the append cost, the worst time in milliseconds from a key or scroll-bar move to
// the box redrawn (Page Down, Ctrl+End, Ctrl+Home, a jump of the scroll bar to the middle, a
// letter typed at the start and at the end), the time that the next search takes to empty the
// box, and the program's resident memory.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/result_box.h"

namespace {

// One find of a four-letter word in the area view: a header and 24 framed rows, about 1,600
// characters.
std::u16string AreaFind(int n) {
  std::u16string piece = u"Skip: " + std::u16string(1, static_cast<char16_t>(u'1' + n % 9)) +
                         u"\r\nPosition: 1234 of 304805\r\n\r\n";
  for (int row = 0; row < 24; ++row) {
    std::u16string line = u"\u05D0   ";
    for (int k = 0; k < 53; ++k) {
      line += static_cast<char16_t>(u'\u05D0' + (n + row * 7 + k * 3) % 27);
    }
    line += u"   \u05D0\r\n";
    piece += line;
    if (row == 9 || row == 13) {
      piece += u"\r\n";
    }
  }
  return piece + u"\r\n";
}

double Milliseconds(const std::function<void()>& action) {
  QElapsedTimer clock;
  clock.start();
  action();
  QApplication::processEvents();  // the redraw that the action asked for
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The worst of a few tries; the first also lays out the lines the box shows next.
double Worst(const std::function<void()>& action, int tries = 7) {
  double worst = 0;
  for (int k = 0; k < tries; ++k) {
    worst = std::max(worst, Milliseconds(action));
  }
  return worst;
}

long ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * 4096 / (1024 * 1024);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<double> sizes;
  for (int k = 1; k < argc; ++k) {
    sizes.push_back(std::stod(argv[k]));
  }
  if (sizes.empty()) {
    sizes = {4, 8, 16, 32};
  }
  int toolkit_argc = 1;
  QApplication application(toolkit_argc, argv);
  quorel::Form1 form(std::size_t{1} << 40);
  form.show();
  (void)QTest::qWaitForWindowExposed(&form);
  auto* box = form.findChild<QPlainTextEdit*>("Text4");
  QScrollBar* bar = box->verticalScrollBar();
  box->setFocus();

  std::printf("%8s %9s %7s %7s %7s %7s %7s %7s %7s %6s\n", "Mchars", "append_us", "pgdn", "end",
              "home", "middle", "typeA", "typeZ", "empty", "RSS_MB");
  int finds = 0;
  for (const double size : sizes) {
    form.SetText(quorel::Box::Text4, u"");
    const auto target = static_cast<std::size_t>(size * 1e6);
    QElapsedTimer fill;
    fill.start();
    int appended = 0;
    while (form.RoomLeft(quorel::Box::Text4) > (std::size_t{1} << 40) - target) {
      form.AppendText(quorel::Box::Text4, AreaFind(finds++));
      form.Repaint(quorel::Box::Text4);
      ++appended;
    }
    const double append_us = static_cast<double>(fill.nsecsElapsed()) / 1e3 / appended;
    // What the last frame left in the buffer goes into the document, as at a run's end.
    form.findChild<quorel::ResultBox*>("Text4")->Flush();
    QApplication::processEvents();
    const double page_down = Worst([&] { QTest::keyClick(box, Qt::Key_PageDown); });
    const double to_end = Worst([&] { QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier); });
    const double to_home = Worst([&] { QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier); });
    const double middle = Worst([&] {
      bar->setValue(bar->maximum() / 2);
      bar->setValue(bar->maximum() / 2 + 40);
    });
    QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
    const double type_start = Worst([&] { QTest::keyClick(box, Qt::Key_A); });
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    const double type_end = Worst([&] { QTest::keyClick(box, Qt::Key_Z); });
    const long resident = ResidentMegabytes();
    const double empty = Milliseconds([&] {
      form.SetText(quorel::Box::Text4, u"");
      form.Repaint(quorel::Box::Text4);
    });
    std::printf("%8.1f %9.1f %7.2f %7.2f %7.2f %7.2f %7.2f %7.2f %7.1f %6ld\n", size, append_us,
                page_down, to_end, to_home, middle, type_start, type_end, empty, resident);
    std::fflush(stdout);
  }
  return 0;
}
