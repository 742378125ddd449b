// SPDX-License-Identifier: GPL-3.0-or-later
// quorel: opens Form1 and waits for the user. No command line, no settings, no files written.
#include <QApplication>
#include <cstdio>

#include "ui/display_check.h"
#include "ui/form1.h"
#include "ui/message_box.h"

int main(int argc, char** argv) {
  if (const std::optional<std::string> missing = quorel::MissingDisplay()) {
    std::fprintf(stderr, "%s\n", missing->c_str());
    return 1;
  }
  // The toolkit gets the program's name alone, so no argument changes what the program does.
  int toolkit_argc = argc > 0 ? 1 : 0;
  QApplication application(toolkit_argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(quorel::kApplicationTitle));
  quorel::Form1 form;
  form.show();
  return QApplication::exec();
}
