// SPDX-License-Identifier: GPL-3.0-or-later
// The matrix window opened from the result box: by the context menu on a find's lines and by
// Ctrl+M at the caret, during a run too; adding a word; exporting SVG and PNG.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QXmlStreamReader>

#include "form1_fixture.h"
#include "matrix_draw/matrix_export.h"
#include "matrix_draw/matrix_picture.h"
#include "ui/matrix_window.h"

namespace quorel::test {
namespace {

const QString kWordText = QStringLiteral(u"\u05D7\u05D5\u05E4\u05E9");

class MatrixWindowTest : public Form1Test {
 protected:
  void SetUp() override {
    Form1Test::SetUp();
    WriteDataFile(TextWithWord({{7, 401}, {12, 600}}));
    AnswerMessages();
    TypeInputs(kWordText, "5", "15");
  }

  std::vector<MatrixWindow*> Windows() {
    const QList<MatrixWindow*> windows =
        form_->findChildren<MatrixWindow*>(QString(), Qt::FindDirectChildrenOnly);
    return std::vector<MatrixWindow*>(windows.begin(), windows.end());
  }

  // The line of the result box that starts with `start`, after line `from`.
  QTextBlock ResultLine(const QString& start, int from = 0) {
    for (QTextBlock block = Text4()->document()->findBlockByNumber(from); block.isValid();
         block = block.next()) {
      if (block.text().startsWith(start)) {
        return block;
      }
    }
    ADD_FAILURE() << start.toStdString();
    return {};
  }

  // Right-clicks `line` and picks the matrix entry of the menu that pops up.
  void ChooseMatrixFromMenu(const QTextBlock& line) {
    QTextCursor at(line);
    const QPoint point = Text4()->cursorRect(at).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                            Text4()->viewport()->mapToGlobal(point));
    QApplication::sendEvent(Text4()->viewport(), &event);
    QMenu* menu = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "resultBoxMenu" && widget->isVisible()) {
        menu = qobject_cast<QMenu*>(widget);
      }
    }
    ASSERT_NE(menu, nullptr);
    QAction* entry = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->text() == "Show matrix of this find") {
        entry = action;
      }
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    entry->trigger();
    menu->close();
  }

  // Back to Form1, as a user who clicks into it: a new matrix window comes to the front.
  void ActivateForm() {
    form_->activateWindow();
    QApplication::setActiveWindow(form_.get());  // the offscreen platform leaves it to us
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    Text4()->setFocus();
  }

  static void WaitUntilShown(MatrixWindow* window) {
    ASSERT_TRUE(QTest::qWaitFor([window] { return window->IsUpToDate(); }, 5000))
        << window->Status().toStdString();
  }

  static MatrixFind ShownFind(MatrixWindow* window) {
    return window->Shown()->words.front().finds.front();
  }
};

TEST_F(MatrixWindowTest, ContextMenuAndShortcutOpenTheFindAtTheLineWithoutChangingTheBox) {
  ClickSearch();
  const std::u16string result = Result();
  ChooseMatrixFromMenu(ResultLine("Result: ", ResultLine("Skip: 12").blockNumber()));
  ASSERT_EQ(Windows().size(), 1u);
  MatrixWindow* first = Windows()[0];
  WaitUntilShown(first);
  EXPECT_EQ(ShownFind(first), (MatrixFind{12, 600, 4}));
  EXPECT_TRUE(first->isWindow());
  EXPECT_EQ(first->Shown()->row_width, 12);

  // Ctrl+M at the caret, placed on the first find's Position line.
  ActivateForm();
  Text4()->setTextCursor(QTextCursor(ResultLine("Position: ")));
  QTest::keyClick(Text4(), Qt::Key_M, Qt::ControlModifier);
  ASSERT_EQ(Windows().size(), 2u);
  MatrixWindow* second = Windows()[1];
  WaitUntilShown(second);
  EXPECT_EQ(ShownFind(second), (MatrixFind{7, 401, 4}));
  EXPECT_TRUE(first->isVisible() && second->isVisible());

  // The box itself is as the run left it: text, and no letter typed by the shortcut.
  EXPECT_EQ(Result(), result);
  EXPECT_EQ(Line("Text5")->text(), "Done.");
}

TEST_F(MatrixWindowTest, AreaViewLinesAndARunningSearchWork) {
  QTest::mouseClick(Check1(), Qt::LeftButton);
  // During the run the caret stands at the start of the box, on the first find's header.
  AtSkip("10", [this] {
    Text4()->setFocus();
    QTest::keyClick(Text4(), Qt::Key_M, Qt::ControlModifier);
  });
  ClickSearch();
  EXPECT_EQ(Result(), Expected(kWord, u"5", u"15", [](FakeWindow& w) {
                        w.check_state = kChecked;
                      }).boxes.at(Box::Text4));
  EXPECT_EQ(Line("Text5")->text(), "Done.");
  ASSERT_EQ(Windows().size(), 1u);
  WaitUntilShown(Windows()[0]);
  EXPECT_EQ(ShownFind(Windows()[0]), (MatrixFind{7, 401, 4}));

  // A find's area rows: the letters are read from the rows' centres.
  ActivateForm();
  Text4()->setTextCursor(
      QTextCursor(ResultLine("\u05D0   ", ResultLine("Skip: 12").blockNumber())));
  QTest::keyClick(Text4(), Qt::Key_M, Qt::ControlModifier);
  ASSERT_EQ(Windows().size(), 2u);
  WaitUntilShown(Windows()[1]);
  EXPECT_EQ(ShownFind(Windows()[1]), (MatrixFind{12, 600, 4}));
}

TEST_F(MatrixWindowTest, LinesOfNoFindOpenNothing) {
  ClickSearch();
  Text4()->setFocus();
  QTest::keyClick(Text4(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(Text4(), Qt::Key_Return);
  QTest::keyClicks(Text4(), "note");
  // The caret's line is the typed note below the last find: it still belongs to that find.
  QTest::keyClick(Text4(), Qt::Key_M, Qt::ControlModifier);
  ASSERT_EQ(Windows().size(), 1u);
  // Above every header there is no find.
  ActivateForm();
  QTest::keyClick(Text4(), Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClicks(Text4(), "top");
  QTest::keyClick(Text4(), Qt::Key_Return);
  Text4()->setTextCursor(QTextCursor(Text4()->document()->firstBlock()));
  QTest::keyClick(Text4(), Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(Windows().size(), 1u);
}

TEST_F(MatrixWindowTest, AddsAWordAndExportsSvgAndPngOfThePictureShown) {
  ClickSearch();
  ChooseMatrixFromMenu(ResultLine("Skip: 7"));
  ASSERT_EQ(Windows().size(), 1u);
  MatrixWindow* window = Windows()[0];
  WaitUntilShown(window);

  // Dalets all around: the word of two dalets is found at every skip that fits.
  auto* word_box = window->findChild<QLineEdit*>("wordBox");
  ASSERT_NE(word_box, nullptr);
  TypeKeys(word_box, QStringLiteral(u"\u05D3\u05D3"));
  QTest::mouseClick(window->findChild<QPushButton*>("addWordButton"), Qt::LeftButton);
  WaitUntilShown(window);
  const Matrix& matrix = *window->Shown();
  ASSERT_EQ(matrix.words.size(), 2u);
  EXPECT_EQ(matrix.words[1].word, u"\u05D3\u05D3");
  EXPECT_GT(matrix.words[1].finds.size(), 100u);
  EXPECT_TRUE(word_box->text().isEmpty());

  const QString svg = QString::fromStdString((dir_.path() / "m.svg").string());
  const QString png = QString::fromStdString((dir_.path() / "m.png").string());
  EXPECT_EQ(window->ExportTo(svg), std::nullopt);
  EXPECT_EQ(window->ExportTo(png), std::nullopt);

  EXPECT_TRUE(QSvgRenderer(svg).isValid());
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QString letters;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text")) {
      letters += xml.readElementText();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  for (const QChar letter : kWordText) {
    EXPECT_TRUE(letters.contains(letter)) << int{letter.unicode()};
  }
  EXPECT_TRUE(letters.contains(kWordText));  // the legend names the word

  const QImage image(png);
  EXPECT_EQ(image.size(), MatrixPictureLayout(matrix).Size().toSize());
  EXPECT_EQ(image.size(), MatrixImage(matrix).size());

  EXPECT_NE(window->ExportTo(QString::fromStdString((dir_.path() / "m.gif").string())),
            std::nullopt);
  EXPECT_NE(window->ExportTo(QString::fromStdString((dir_.path() / "no/such/m.png").string())),
            std::nullopt);
}

TEST_F(MatrixWindowTest, HoveringALetterShowsItsPositionAndVerse) {
  dir_.Write("Quorel.verses", "Genesis 1 1 1\nGenesis 1 2 400\nGenesis 1 3 402\n");
  ClickSearch();
  ChooseMatrixFromMenu(ResultLine("Skip: 7"));
  MatrixWindow* window = Windows()[0];
  WaitUntilShown(window);
  const Matrix& matrix = *window->Shown();
  auto* picture = window->findChild<QWidget*>("matrixPicture");
  ASSERT_NE(picture, nullptr);
  const MatrixPictureLayout layout(matrix);
  for (std::int32_t row = 0; row < matrix.row_count; ++row) {
    for (std::int32_t column = 0; column < matrix.column_count; ++column) {
      if (matrix.At(row, column).position != 401) {
        continue;
      }
      const QPointF at = layout.CellRect(row, column).center();
      QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(picture, &move);
      EXPECT_EQ(window->Status(),
                QStringLiteral("Row %1, column %2: position 401, letter \u05D7, Genesis 1:2")
                    .arg(row + 1)
                    .arg(matrix.first_column + column + 1));
      return;
    }
  }
  ADD_FAILURE() << "position 401 is not shown";
}

TEST_F(MatrixWindowTest, RowWidthChoicesRebuildTheMatrix) {
  ClickSearch();
  ChooseMatrixFromMenu(ResultLine("Skip: 12"));
  MatrixWindow* window = Windows()[0];
  WaitUntilShown(window);
  auto* choice = window->findChild<QComboBox*>("widthChoice");
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->itemText(1), "Skip / 2: 6 letters");
  choice->setCurrentIndex(1);
  emit choice->activated(1);
  WaitUntilShown(window);
  EXPECT_EQ(window->Shown()->row_width, 6);
  window->SetRowWidth(40);
  WaitUntilShown(window);
  EXPECT_EQ(window->Shown()->row_width, 40);
  EXPECT_EQ(window->findChild<QSpinBox*>("widthBox")->value(), 40);
}

}  // namespace
}  // namespace quorel::test
