// SPDX-License-Identifier: GPL-3.0-or-later
// Whole searches driven through the real window: typing, clicking Search, and the user's moves
// while a run is going.
#include <QApplication>
#include <QScrollBar>

#include "form1_fixture.h"
#include "text/utf.h"

namespace quorel::test {
namespace {

// Finds at skips 2, 3, 5, 7 (twice), 12 and 20.
std::u16string SearchText() {
  return TextWithWord({{2, 100}, {3, 200}, {5, 300}, {7, 400}, {7, 401}, {12, 600}, {20, 1000}});
}

const QString kWordText = QStringLiteral(u"\u05D7\u05D5\u05E4\u05E9");

class Form1RunTest : public Form1Test {
 protected:
  void SetUp() override {
    Form1Test::SetUp();
    WriteDataFile(SearchText());
    AnswerMessages();
    TypeInputs(kWordText, "1", "20");
  }
};

TEST_F(Form1RunTest, TypedSearchFillsTheResultBoxFromTheTop) {
  // The word is typed with blanks around it; the run prepares it.
  TypeInputs(QStringLiteral(u" \u05D7\u05D5\u05E4\u05E9 "), "1", "20");
  ClickSearch();
  const FakeWindow expected = Expected(u" \u05D7\u05D5\u05E4\u05E9 ", u"1", u"20");
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
  EXPECT_NE(Utf16ToUtf8(Result()).find("Skip: 7\r\nPosition: 401 of 304805\r\n"),
            std::string::npos);
  // Nothing is left waiting when the run has returned: the control itself holds every find.
  EXPECT_EQ(Text4()->toPlainText().replace(u'\n', QStringLiteral("\r\n")).toStdU16String(),
            expected.boxes.at(Box::Text4));
  EXPECT_EQ(Line("Text5")->text(), "Done.");
  EXPECT_EQ(Line("Text1")->text().toStdU16String(), expected.boxes.at(Box::Text1));
  EXPECT_TRUE(seen_.empty());
  // Nothing scrolls to the end: the caret and the view are at the start.
  EXPECT_EQ(Text4()->textCursor().position(), 0);
  EXPECT_EQ(Text4()->verticalScrollBar()->value(), 0);
  EXPECT_FALSE(form_->IsRunning());
}

TEST_F(Form1RunTest, CheckingTheAreaBoxDuringARunChangesEveryLaterFind) {
  AtSkip("6", [this] { QTest::mouseClick(Check1(), Qt::LeftButton); });
  ClickSearch();
  const FakeWindow expected = Expected(kWord, u"1", u"20", [](FakeWindow& window) {
    window.on_pump = [](FakeWindow& w) {
      if (w.boxes[Box::Text5] == u"6") {
        w.check_state = kChecked;
      }
    };
  });
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
  EXPECT_EQ(Check1()->checkState(), Qt::Checked);
  // Finds before skip 6 have the one-line view, the later ones the area view.
  const std::string result = Utf16ToUtf8(Result());
  EXPECT_LT(result.find("Result: "), result.find("Skip: 7"));
  EXPECT_EQ(result.find("Result: ", result.find("Skip: 7")), std::string::npos);
}

TEST_F(Form1RunTest, TextTypedIntoTheResultBoxDuringARunStaysAndLaterFindsFollowIt) {
  AtSkip("6", [this] {
    Text4()->setFocus();
    QTest::keyClick(Text4(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(Text4(), "typed");
  });
  ClickSearch();
  const FakeWindow expected = Expected(kWord, u"1", u"20", [](FakeWindow& window) {
    window.on_pump = [](FakeWindow& w) {
      if (w.boxes[Box::Text5] == u"6") {
        w.boxes[Box::Text4] += u"typed";
      }
    };
  });
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
  EXPECT_EQ(Line("Text5")->text(), "Done.");
}

TEST_F(Form1RunTest, EscapeHeldAtAPollStopsTheRunAndTheNextRunStartsAfresh) {
  AtSkip("6", [this] { QTest::keyPress(form_.get(), Qt::Key_Escape); });
  ClickSearch();
  QTest::keyRelease(form_.get(), Qt::Key_Escape);
  const FakeWindow expected = Expected(kWord, u"1", u"20", [](FakeWindow& window) {
    window.escape_at_poll = [](int poll) { return poll == 6; };
  });
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
  EXPECT_EQ(Line("Text5")->text(), "Aborted.");
  EXPECT_FALSE(form_->Aborted);

  // A press released between two polls goes unnoticed.
  AtSkip("4", [this] {
    QTest::keyPress(form_.get(), Qt::Key_Escape);
    QTest::keyRelease(form_.get(), Qt::Key_Escape);
  });
  ClickSearch();
  EXPECT_EQ(Line("Text5")->text(), "Done.");
  EXPECT_EQ(Result(), Expected(kWord, u"1", u"20").boxes.at(Box::Text4));
}

TEST_F(Form1Test, EscapeThatClosesAMessageDoesNotStopTheRun) {
  WriteDataFile(SearchText());
  TypeInputs(kWordText, "abc", "20");
  // Escape closes the message box on its press; the key is still held when the run goes on,
  // and is released only after the run.
  bool closed = false;
  auto* answer = new QTimer(form_.get());
  QObject::connect(answer, &QTimer::timeout, [&closed] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isVisible()) {
      QTest::keyPress(box, Qt::Key_Escape);
      closed = true;
    }
  });
  answer->start(5);
  ClickSearch();
  QTest::keyRelease(form_.get(), Qt::Key_Escape);
  ASSERT_TRUE(closed);
  EXPECT_EQ(Line("Text5")->text(), "Done.");
  EXPECT_EQ(Result(), Expected(kWord, u"abc", u"20").boxes.at(Box::Text4));

  // A press made after the message closed still stops the run.
  closed = false;
  AtSkip("6", [this] {
    QTest::keyRelease(form_.get(), Qt::Key_Escape);
    QTest::keyPress(form_.get(), Qt::Key_Escape);
  });
  ClickSearch();
  QTest::keyRelease(form_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed);
  EXPECT_EQ(Line("Text5")->text(), "Aborted.");
  EXPECT_EQ(Result(), Expected(kWord, u"abc", u"20", [](FakeWindow& window) {
                        window.escape_at_poll = [](int poll) { return poll == 5; };
                      }).boxes.at(Box::Text4));
}

// The default word at every fourth letter of the first 80,000: 20,000 finds at skip 1 alone,
// far more than a frame's work.
std::u16string WordEverywhere() {
  std::u16string text;
  while (text.size() < 80'000) {
    text += kWord;
  }
  text.resize(304805, u'\u05D3');
  return text;
}

// The scripted window with an append that costs what the piece costs, for runs with many finds.
class LongRunWindow final : public FakeWindow {
 public:
  using FakeWindow::FakeWindow;
  void AppendText(Box box, std::u16string_view piece) override { boxes[box].append(piece); }
};

// A skip with many finds keeps the window live between them, in both views: a click and a key
// are handled while the skip is still being searched, and Escape then stops the run after the
// find it was seen at, with every find before it whole in the box.
TEST_F(Form1Test, ASkipWithManyFindsHandlesInputBetweenFinds) {
  WriteDataFile(WordEverywhere());
  for (const bool area : {false, true}) {
    SCOPED_TRACE(area ? "area view" : "one-line view");
    MakeForm(kResultBoxCapacity);
    TypeInputs(kWordText, "1", "1");
    Check1()->setChecked(area);
    int clicks_in_skip = 0;
    auto* user = new QTimer(form_.get());
    QObject::connect(user, &QTimer::timeout, [this, &clicks_in_skip, user] {
      // Finds of skip 1 are in the box already: the skip is being searched.
      if (!form_->IsRunning() || form_->RoomLeft(Box::Text4) == kResultBoxCapacity) {
        return;
      }
      if (clicks_in_skip++ == 0) {
        QTest::mouseClick(Check1(), Qt::LeftButton);
        QTest::mouseClick(Check1(), Qt::LeftButton);
        return;
      }
      user->stop();
      QTest::keyPress(form_.get(), Qt::Key_Escape);
    });
    user->start(1);
    ClickSearch();
    QTest::keyRelease(form_.get(), Qt::Key_Escape);
    EXPECT_EQ(clicks_in_skip, 2);
    EXPECT_EQ(Check1()->isChecked(), area);
    EXPECT_EQ(Line("Text5")->text(), "Aborted.");
    // A prefix of the whole skip's finds, cut between two finds.
    LongRunWindow expected(kWord, u"1", u"1");
    expected.check_state = area ? kChecked : kUnchecked;
    Command1_Click(expected, dir_.path() / "Quorel.DSF");
    const std::u16string& whole = expected.boxes.at(Box::Text4);
    const std::u16string shown = Result();
    EXPECT_GT(shown.size(), 0U);
    EXPECT_LT(shown.size(), whole.size());
    EXPECT_EQ(whole.compare(0, shown.size(), shown), 0);
    EXPECT_EQ(whole.compare(shown.size(), 6, u"Skip: "), 0);
  }
}

TEST_F(Form1RunTest, SearchPressedDuringARunIsTurnedAway) {
  int presses = 0;
  QObject::connect(Command1(), &QPushButton::clicked, [&presses] { ++presses; });
  AtSkip("6", [this] {
    Type(Line("Text3"), "10");
    QTest::mouseClick(Command1(), Qt::LeftButton);
  });
  ClickSearch();
  EXPECT_EQ(presses, 2);
  EXPECT_EQ(Result(), Expected(kWord, u"1", u"20").boxes.at(Box::Text4));
  EXPECT_EQ(Line("Text5")->text(), "Done.");
  EXPECT_FALSE(form_->IsRunning());
}

TEST_F(Form1RunTest, ClosingTheWindowDuringARunStopsItWithoutTouchingTheWindow) {
  AtSkip("6", [this] { form_->close(); });
  ClickSearch();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_FALSE(form_->IsRunning());
  EXPECT_TRUE(form_->IsWindowGone());
  // The run stopped at its next poll: no status word, nothing of skip 6 or later.
  EXPECT_EQ(form_->GetText(Box::Text5), u"6");
  const FakeWindow expected = Expected(kWord, u"1", u"20", [](FakeWindow& window) {
    window.escape_at_poll = [](int poll) { return poll == 6; };
  });
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
  // The operations leave the closed window alone.
  form_->SetText(Box::Text5, u"x");
  form_->AppendText(Box::Text4, u"x");
  EXPECT_EQ(form_->GetText(Box::Text5), u"6");
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
}

TEST_F(Form1RunTest, FailedLoadIsShownAndTheWindowStaysUsable) {
  std::filesystem::remove(dir_.path() / "Quorel.DSF");
  Line("Text5")->setText("before");
  ClickSearch();
  const FakeWindow expected = Expected(kWord, u"1", u"20");
  ASSERT_EQ(expected.messages.size(), 1U);
  ASSERT_EQ(seen_.size(), 1U);
  EXPECT_EQ(seen_[0].text.toStdString(), expected.messages[0]);
  EXPECT_EQ(seen_[0].title, "Quorel");
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(Line("Text5")->text(), "before");
  EXPECT_FALSE(form_->IsRunning());

  WriteDataFile(SearchText());
  ClickSearch();
  EXPECT_EQ(Line("Text5")->text(), "Done.");
  EXPECT_EQ(Result(), Expected(kWord, u"1", u"20").boxes.at(Box::Text4));
}

TEST_F(Form1RunTest, FullResultBoxStopsTheRunWithOneSentenceAndAborted) {
  constexpr std::size_t kCapacity = 600;  // room for a few one-line finds, not for all
  MakeForm(kCapacity);
  AnswerMessages();
  TypeInputs(kWordText, "1", "20");
  ClickSearch();
  const FakeWindow expected =
      Expected(kWord, u"1", u"20", [](FakeWindow& window) { window.capacity = kCapacity; });
  ASSERT_EQ(seen_.size(), 1U);
  ASSERT_EQ(expected.messages.size(), 1U);
  EXPECT_EQ(seen_[0].text.toStdString(), expected.messages[0]);
  EXPECT_NE(seen_[0].text.indexOf("finds"), -1);
  EXPECT_EQ(Line("Text5")->text(), "Aborted.");
  EXPECT_EQ(Result(), expected.boxes.at(Box::Text4));
  EXPECT_LE(Result().size(), kCapacity);
  EXPECT_LT(Result().size(), Expected(kWord, u"1", u"20").boxes.at(Box::Text4).size());
}

}  // namespace
}  // namespace quorel::test
