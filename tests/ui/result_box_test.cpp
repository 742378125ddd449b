// SPDX-License-Identifier: GPL-3.0-or-later
// The result box: its text with CR LF line breaks, appends at the end, and user input that
// always finds the whole text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include "ui/result_box.h"

namespace quorel {
namespace {

class ResultBoxTest : public ::testing::Test {
 protected:
  ResultBoxTest() : box_(nullptr) {
    box_.resize(300, 200);
    box_.show();
  }
  ResultBox box_;
};

TEST_F(ResultBoxTest, AppendsKeepEveryLineBreakAsCrLf) {
  const std::u16string cases[] = {
      u"",
      u"one line",
      u"Skip: 7\r\nPosition: 1 of 304805\r\n",
      u"\r\n\r\n\u05D0   \u05D1\r\n\r\n",
  };
  for (const std::u16string& piece : cases) {
    box_.SetText(u"start\r\n");
    box_.Append(piece);
    box_.Append(u"end");
    const std::u16string expected = u"start\r\n" + piece + u"end";
    EXPECT_EQ(box_.Text(), expected);
    EXPECT_EQ(box_.Length(), expected.size());
  }
}

TEST_F(ResultBoxTest, LengthCountsAppendsNotYetInTheDocument) {
  box_.SetText(u"ab\r\nc");
  box_.Append(u"\r\nde");
  EXPECT_EQ(box_.Length(), 9U);
  box_.Flush();
  EXPECT_EQ(box_.Length(), 9U);
  EXPECT_EQ(box_.toPlainText(), "ab\nc\nde");
}

TEST_F(ResultBoxTest, AfterAnAppendTheCaretAndTheViewAreAtTheStart) {
  std::u16string lines;
  for (int k = 0; k < 200; ++k) {
    lines += u"line\r\n";
  }
  box_.SetText(lines);
  box_.setFocus();
  QTest::keyClick(&box_, Qt::Key_End, Qt::ControlModifier);
  ASSERT_GT(box_.verticalScrollBar()->value(), 0);
  box_.Append(u"more");
  box_.Flush();
  EXPECT_EQ(box_.textCursor().position(), 0);
  EXPECT_EQ(box_.verticalScrollBar()->value(), 0);
}

TEST_F(ResultBoxTest, UserInputFindsTheWholeText) {
  box_.SetText(u"first\r\n");
  box_.Append(u"second\r\n");
  box_.setFocus();
  // The key goes to the end of the whole text, past the append that waited in the buffer.
  QTest::keyClick(&box_, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&box_, "typed");
  EXPECT_EQ(box_.Text(), u"first\r\nsecond\r\ntyped");
  // Typing at the start, where the caret stands after a find.
  box_.Append(u"third");
  QTest::keyClick(&box_, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClicks(&box_, "x");
  EXPECT_EQ(box_.Text(), u"xfirst\r\nsecond\r\ntypedthird");
}

TEST_F(ResultBoxTest, AppendsLeaveNoUndoSteps) {
  box_.SetText(u"");
  box_.Append(u"a");
  box_.Append(u"b");
  box_.Flush();
  EXPECT_FALSE(box_.document()->isUndoAvailable());
  // The user's own typing can still be undone.
  box_.setFocus();
  QTest::keyClicks(&box_, "x");
  EXPECT_TRUE(box_.document()->isUndoAvailable());
}

TEST_F(ResultBoxTest, CopyCarriesThePlainTextAloneWithItsLineBreaks) {
  box_.SetText(u"Skip: 7\r\nPosition: 1 of 304805\r\n");
  box_.Append(u"\r\n\u05D0   \u05D1\u00A0\r\n");
  box_.setFocus();
  // Ctrl+A Ctrl+C as a user copies the whole box, the append that waited included.
  QTest::keyClick(&box_, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&box_, Qt::Key_C, Qt::ControlModifier);
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->formats().join(u' ').toStdString(), "text/plain");
  EXPECT_EQ(copied->text(),
            QStringLiteral(u"Skip: 7\nPosition: 1 of 304805\n\n\u05D0   \u05D1 \n"));
  // A part of a line, as selected.
  QTextCursor part = box_.textCursor();
  part.setPosition(2);
  part.setPosition(12, QTextCursor::KeepAnchor);
  box_.setTextCursor(part);
  box_.copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ip: 7\nPosi"));
}

}  // namespace
}  // namespace quorel
