// SPDX-License-Identifier: GPL-3.0-or-later
// Form1 as it opens: its controls, their places, captions, fonts, tab order and keys.
#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "form1_fixture.h"
#include "ui/fonts.h"

namespace quorel::test {
namespace {

struct ControlRow {
  const char* name;
  const char* kind;
  QString caption;
  QRect geometry;
};

// The layout of the window, in pixels of 15 twips.
std::vector<ControlRow> LayoutTable() {
  return {
      {"Label1", "QLabel", "Enter text to search:", {16, 16, 137, 17}},
      {"Text1", "QLineEdit", QStringLiteral(u"\u05D7\u05D5\u05E4\u05E9"), {16, 32, 137, 19}},
      {"Label3", "QLabel", "Enter min skip size:", {16, 72, 137, 17}},
      {"Text3", "QLineEdit", "2", {16, 88, 137, 19}},
      {"Label2", "QLabel", "Enter max skip size:", {16, 112, 137, 17}},
      {"Text2", "QLineEdit", "20", {16, 128, 137, 19}},
      {"Command1", "QPushButton", "Search", {16, 176, 137, 57}},
      {"Check1", "QCheckBox", "Show area around result", {16, 240, 137, 25}},
      {"Label5", "QLabel", "Currently testing skip of:", {16, 352, 145, 17}},
      {"Text5", "QLineEdit", "", {16, 368, 145, 25}},
      {"Label4", "QLabel", "Press ESC to abort", {16, 400, 145, 17}},
      {"Text4", "QPlainTextEdit", "", {176, 16, 529, 401}},
  };
}

QString CaptionOf(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) {
    return label->text();
  }
  if (auto* line = qobject_cast<QLineEdit*>(control)) {
    return line->text();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    return button->text();
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
    return text->toPlainText();
  }
  return QStringLiteral("?");
}

TEST_F(Form1Test, WindowHasItsTitleAndAFixedClientArea) {
  EXPECT_EQ(form_->windowTitle(), "Form1");
  EXPECT_EQ(form_->size(), QSize(721, 437));
  EXPECT_EQ(form_->minimumSize(), QSize(721, 437));
  EXPECT_EQ(form_->maximumSize(), QSize(721, 437));
}

TEST_F(Form1Test, TwelveControlsWithTheirKindCaptionPlaceAndSize) {
  for (const ControlRow& row : LayoutTable()) {
    SCOPED_TRACE(row.name);
    auto* control = Find<QWidget>(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(row.kind)) << control->metaObject()->className();
    EXPECT_EQ(CaptionOf(control), row.caption);
    EXPECT_EQ(control->geometry(), row.geometry);
    EXPECT_EQ(control->parentWidget(), form_.get());
  }
  EXPECT_EQ(Check1()->checkState(), Qt::Unchecked);
  EXPECT_FALSE(Check1()->isTristate());
}

TEST_F(Form1Test, EachBoxLiesOnTopOfTheLabelThatReachesIntoIt) {
  // The last pixel row of each label is the first of the box beneath it.
  const std::pair<const char*, QPoint> overlaps[] = {
      {"Text1", {20, 32}}, {"Text3", {20, 88}}, {"Text2", {20, 128}}, {"Text5", {20, 368}}};
  for (const auto& [box, point] : overlaps) {
    QWidget* top = form_->childAt(point);
    ASSERT_NE(top, nullptr) << box;
    EXPECT_EQ(top->objectName(), box);
  }
}

TEST_F(Form1Test, TextBoxesAreEditableUnlimitedAndUnmasked) {
  for (const char* name : {"Text1", "Text2", "Text3", "Text5"}) {
    SCOPED_TRACE(name);
    QLineEdit* box = Line(name);
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(box->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max());
  }
  QPlainTextEdit* text4 = Text4();
  EXPECT_FALSE(text4->isReadOnly());
  EXPECT_EQ(text4->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(text4->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text4->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  // A line wider than the box wraps rather than scrolling sideways.
  text4->setPlainText(QString(400, QChar(0x05D0)));
  QApplication::processEvents();
  EXPECT_GT(text4->document()->firstBlock().layout()->lineCount(), 1);
  EXPECT_FALSE(text4->horizontalScrollBar()->isVisible());
}

TEST_F(Form1Test, ResultBoxFontIsFixedPitchWithHebrewLetters) {
  const QFont font = Text4()->font();
  EXPECT_TRUE(DrawsHebrewAtOneWidth(font)) << QFontInfo(font).family().toStdString();
  const QFontInfo info(font);
  EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
  EXPECT_TRUE(QFontDatabase::writingSystems(info.family()).contains(QFontDatabase::Hebrew))
      << info.family().toStdString();
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
  EXPECT_FALSE(font.bold() || font.italic() || font.underline() || font.strikeOut());
  // Letters, final forms, blanks and digits all take one column, so the area view's rows stand
  // letter under letter.
  const QFontMetrics metrics(font);
  const int column = metrics.horizontalAdvance(QChar(u' '));
  for (const char16_t c : {u'\u05D0', u'\u05E9', u'\u05DA', u'\u05EA', u'1', u'S'}) {
    EXPECT_EQ(metrics.horizontalAdvance(QChar(c)), column) << static_cast<int>(c);
  }
}

TEST(ResultBoxFontChoice, TakesTheFirstFontThatDrawsHebrewAtOneWidth) {
  // DejaVu Sans has Hebrew letters of many widths; DejaVu Sans Mono has none, so the toolkit
  // would draw them in another font.
  const QStringList families[] = {
      {"DejaVu Sans", "Miriam Mono CLM"},
      {"DejaVu Sans Mono", "Miriam Mono CLM"},
      {"No Such Font", "Miriam Mono CLM", "DejaVu Sans Mono"},
  };
  if (!QFontDatabase::hasFamily("Miriam Mono CLM")) {
    GTEST_SKIP() << "Miriam Mono CLM (Debian's culmus) is not installed";
  }
  for (const QStringList& list : families) {
    SCOPED_TRACE(list.join(", ").toStdString());
    const QFont font = ResultBoxFont(list);
    EXPECT_EQ(QFontInfo(font).family(), "Miriam Mono CLM");
    EXPECT_TRUE(DrawsHebrewAtOneWidth(font));
  }
  for (const char* family : {"DejaVu Sans", "DejaVu Sans Mono"}) {
    if (QFontDatabase::hasFamily(family)) {
      EXPECT_FALSE(DrawsHebrewAtOneWidth(QFont(family))) << family;
    }
  }
}

TEST_F(Form1Test, EveryCaptionFitsItsControlWhateverTheFont) {
  // The window's own choice, then fonts wider than it was drawn for.
  const std::pair<QString, qreal> fonts[] = {
      {form_->font().family(), form_->font().pointSizeF()},
      {"DejaVu Sans", 8},
      {"DejaVu Sans", 11},
      {"DejaVu Serif", 10},
  };
  for (const auto& [family, points] : fonts) {
    SCOPED_TRACE(family.toStdString() + " " + std::to_string(points));
    MakeForm(kResultBoxCapacity);
    if (family != form_->font().family()) {
      QFont font(family);
      font.setPointSizeF(points);
      form_->setFont(font);
      FitCaptions(*form_);
    }
    for (const char* name : {"Label1", "Label3", "Label2", "Label5", "Label4"}) {
      auto* label = Find<QLabel>(name);
      EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(label->text()),
                label->contentsRect().width())
          << name;
    }
    for (const char* name : {"Check1", "Command1"}) {
      auto* control = Find<QWidget>(name);
      EXPECT_LE(control->sizeHint().width(), control->width()) << name;
    }
  }
}

TEST_F(Form1Test, EveryControlHasTheNameOfItsCaption) {
  const std::pair<const char*, const char*> names[] = {
      {"Text1", "Enter text to search:"},
      {"Text3", "Enter min skip size:"},
      {"Text2", "Enter max skip size:"},
      {"Command1", "Search"},
      {"Check1", "Show area around result"},
      {"Text5", "Currently testing skip of:"},
      {"Text4", "Results"},
  };
  for (const auto& [control, name] : names) {
    SCOPED_TRACE(control);
    QWidget* widget = Find<QWidget>(control);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), name);
  }
  // Each caption above a box is its label, for screen readers and for a click on it.
  const std::pair<const char*, const char*> buddies[] = {
      {"Label1", "Text1"}, {"Label3", "Text3"}, {"Label2", "Text2"}, {"Label5", "Text5"}};
  for (const auto& [label, box] : buddies) {
    EXPECT_EQ(Find<QLabel>(label)->buddy(), Find<QWidget>(box)) << label;
  }
  EXPECT_EQ(Line("Text5")->accessibleDescription(), "Press ESC to abort");
}

TEST_F(Form1Test, SearchButtonFontIsALargeBoldSansSerif) {
  const QFont font = Command1()->font();
  EXPECT_EQ(font.pointSize(), 12);
  EXPECT_GE(QFontInfo(font).weight(), static_cast<int>(QFont::Bold));
  EXPECT_FALSE(QFontInfo(font).fixedPitch());
}

TEST_F(Form1Test, FocusStartsOnSearchAndTabVisitsTheControlsInOrder) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  EXPECT_EQ(QApplication::focusWidget(), Command1());
  const char* const order[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Check1", "Command1"};
  for (const char* name : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
  }
  // Tab in the result box moves on; it types no tab character.
  EXPECT_FALSE(Text4()->toPlainText().contains(u'\t'));
}

TEST_F(Form1Test, EnterInABoxAndEscapePressNothing) {
  WriteDataFile(TextWithWord({{2, 100}}));
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  for (const char* name : {"Text1", "Text2", "Text3", "Text5"}) {
    Line(name)->setFocus();
    QTest::keyClick(Line(name), Qt::Key_Return);
    QTest::keyClick(Line(name), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(Line(name), Qt::Key_Escape);
  }
  Command1()->setFocus();
  QTest::keyClick(Command1(), Qt::Key_Escape);
  // Return with a modifier is no press either.
  QTest::keyClick(Command1(), Qt::Key_Return, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_EQ(Line("Text5")->text(), "");
  EXPECT_EQ(Text4()->toPlainText(), "");
  EXPECT_TRUE(form_->isVisible());
  EXPECT_FALSE(Command1()->isDefault() || Command1()->autoDefault());
}

TEST_F(Form1Test, SpaceReturnAndEnterPressTheFocusedSearchButton) {
  WriteDataFile(TextWithWord({{2, 100}}));
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Space, Qt::NoModifier},
      {Qt::Key_Return, Qt::NoModifier},
      {Qt::Key_Enter, Qt::KeypadModifier},
  };
  for (const auto& [key, modifiers] : keys) {
    SCOPED_TRACE(QKeySequence(key).toString().toStdString());
    Line("Text5")->setText("");
    Command1()->setFocus();
    QTest::keyClick(Command1(), key, modifiers);
    EXPECT_EQ(Line("Text5")->text(), "Done.");
    EXPECT_NE(Result().find(u"Skip: 2"), std::u16string::npos);
  }
}

TEST_F(Form1Test, MessagesCarryTheApplicationTitleOneOkButtonAndNoIcon) {
  WriteDataFile(TextWithWord({{2, 100}}));
  AnswerMessages();
  TypeInputs(QStringLiteral(u"\u05D7\u05D5\u05E4\u05E9"), "abc", "20");
  ClickSearch();
  const FakeWindow expected = Expected(kWord, u"abc", u"20");
  ASSERT_EQ(seen_.size(), expected.messages.size());
  ASSERT_FALSE(seen_.empty());
  for (std::size_t k = 0; k < seen_.size(); ++k) {
    EXPECT_EQ(seen_[k].title, "Quorel");
    EXPECT_EQ(seen_[k].text.toStdString(), expected.messages[k]);
    EXPECT_EQ(seen_[k].icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen_[k].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen_[k].button_count, 1);
    EXPECT_EQ(seen_[k].modality, Qt::ApplicationModal);
  }
  EXPECT_EQ(form_->windowTitle(), "Form1");
  EXPECT_EQ(Line("Text5")->text(), "Done.");
}

}  // namespace
}  // namespace quorel::test

namespace quorel::test {
namespace {

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
    }
    return QObject::eventFilter(watched, event);
  }
};

TEST_F(Form1Test, AnIdleWindowDrawsNothingWhateverTheBoxesHold) {
  // A blinking caret would redraw the focused box twice a second: a quarter of a second each
  // time for a pasted word of a million letters.
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  Text4()->setPlainText(QString(1000, QChar(0x05D0)));
  for (const char* name : {"Text1", "Text4"}) {
    SCOPED_TRACE(name);
    auto* box = Find<QWidget>(name);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
      line->setText(QString(1 << 17, QChar(0x05D0)));
    }
    box->setFocus();
    QTest::qWait(100);
    PaintCounter counter(box);
    PaintCounter view(Text4()->viewport());
    QTest::qWait(1500);
    EXPECT_EQ(counter.paints + view.paints, 0);
  }
}

}  // namespace
}  // namespace quorel::test
