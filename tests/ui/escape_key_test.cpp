// SPDX-License-Identifier: GPL-3.0-or-later
// The Escape key as the window's own key events show it, where no global key state exists.
#include "ui/escape_key.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace quorel {
namespace {

TEST(WindowEscapeKey, FollowsPressAndReleaseOfEscapeOnly) {
  QWidget window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const std::unique_ptr<EscapeKey> escape = MakeWindowEscapeKey();
  EXPECT_FALSE(escape->IsDown());
  QTest::keyPress(&window, Qt::Key_Escape);
  EXPECT_TRUE(escape->IsDown());
  QTest::keyPress(&window, Qt::Key_A);
  QTest::keyRelease(&window, Qt::Key_A);
  EXPECT_TRUE(escape->IsDown());
  // Auto-repeat sends releases while the key is still held.
  QKeyEvent repeat_release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(&window, &repeat_release);
  EXPECT_TRUE(escape->IsDown());
  QTest::keyRelease(&window, Qt::Key_Escape);
  EXPECT_FALSE(escape->IsDown());
}

TEST(WindowEscapeKey, ForgetsAKeyHeldWhileTheProgramLosesTheFocus) {
  QWidget window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const std::unique_ptr<EscapeKey> escape = MakeWindowEscapeKey();
  QTest::keyPress(&window, Qt::Key_Escape);
  ASSERT_TRUE(escape->IsDown());
  QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
  QGuiApplication::sendEvent(qApp, &inactive);
  EXPECT_FALSE(escape->IsDown());
}

TEST(WindowEscapeKey, OffscreenPlatformGetsTheWindowSource) {
  // No global key state here: the factory falls back to the window's own events.
  const std::unique_ptr<EscapeKey> escape = MakeEscapeKey();
  QWidget window;
  window.show();
  QTest::keyPress(&window, Qt::Key_Escape);
  EXPECT_TRUE(escape->IsDown());
  QTest::keyRelease(&window, Qt::Key_Escape);
  EXPECT_FALSE(escape->IsDown());
}

}  // namespace
}  // namespace quorel
