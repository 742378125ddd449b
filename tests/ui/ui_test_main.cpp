// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the window's widget tests on Qt's offscreen platform, so they need no display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int toolkit_argc = 1;
  QApplication application(toolkit_argc, argv);
  return RUN_ALL_TESTS();
}
