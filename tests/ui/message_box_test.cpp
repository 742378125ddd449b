// SPDX-License-Identifier: GPL-3.0-or-later
// The run's message box: Ctrl+C copies what it shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ui/message_box.h"

namespace quorel {
namespace {

TEST(QuorelMessageBox, CtrlCCopiesTitleTextAndButton) {
  QApplication::clipboard()->clear();
  QString copied;
  bool closed = false;
  // Acts once the box is up: copies, then closes it by its button.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    copied = QApplication::clipboard()->text();
    box->button(QMessageBox::Ok)->click();
    closed = true;
  });
  ShowQuorelMessage(nullptr, QStringLiteral("The result box is full: it shows 3 finds, and the "
                                            "search stopped at skip 9."));
  ASSERT_TRUE(closed);
  EXPECT_EQ(copied,
            "---------------------------\n"
            "Quorel\n"
            "---------------------------\n"
            "The result box is full: it shows 3 finds, and the search stopped at skip 9.\n"
            "---------------------------\n"
            "OK\n"
            "---------------------------\n");
}

TEST(QuorelMessageBox, OtherKeysStillReachTheBox) {
  // Escape closes the box, as its one button is also its escape button.
  QTimer::singleShot(0, [] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Escape);
  });
  ShowQuorelMessage(nullptr, QStringLiteral("A message."));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QuorelMessageBox, ASentenceThatFitsTheScreenStaysOnOneLine) {
  // The toolkit alone would wrap these at about 500 pixels, leaving the last word alone.
  const QString sentences[] = {
      QStringLiteral("The result box is full: it shows 123456 finds, and the search stopped at "
                     "skip 7."),
      QStringLiteral("Min skip size must be numeric and positive - set to 2"),
  };
  for (const QString& text : sentences) {
    SCOPED_TRACE(text.toStdString());
    int lines = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      ASSERT_NE(label, nullptr);
      const QFontMetrics metrics(label->font());
      const QRect drawn = metrics.boundingRect(QRect(0, 0, label->contentsRect().width(), 10000),
                                               Qt::TextWordWrap, label->text());
      lines = drawn.height() / metrics.lineSpacing();
      EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width());
      box->button(QMessageBox::Ok)->click();
    });
    ShowQuorelMessage(nullptr, text);
    EXPECT_EQ(lines, 1);
  }
}

}  // namespace
}  // namespace quorel
