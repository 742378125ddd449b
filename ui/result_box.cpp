#include "result_box.h"

#include <QEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>

#include "ui/qt_text.h"
#include "ui/user_input.h"

namespace quorel {

ResultBox::ResultBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab moves the focus on, as in the single-line boxes.
  setTabChangesFocus(true);
  // Every line is laid out left to right, as the window is; a row of Hebrew letters then reads
  // right to left within it, and rows of equal length stand letter under letter.
  QTextOption option = document()->defaultTextOption();
  option.setTextDirection(Qt::LeftToRight);
  document()->setDefaultTextOption(option);
  // Input to the box's viewport and scroll bar reaches them, not the box.
  viewport()->installEventFilter(this);
  verticalScrollBar()->installEventFilter(this);
}

bool ResultBox::event(QEvent* event) {
  if (IsUserInput(*event)) {
    Flush();
  }
  return QPlainTextEdit::event(event);
}

bool ResultBox::eventFilter(QObject* watched, QEvent* event) {
  if (IsUserInput(*event)) {
    Flush();
  }
  return QPlainTextEdit::eventFilter(watched, event);
}

QMimeData* ResultBox::createMimeDataFromSelection() const {
  // The selection's own text, its line breaks as a text document's plain text gives them.
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  text.replace(QChar::Nbsp, u' ');
  auto* copied = new QMimeData;
  copied->setText(text);
  return copied;
}

std::u16string ResultBox::Text() {
  Flush();
  // The document keeps each line break as one paragraph separator.
  const QString raw = document()->toRawText();
  std::u16string text;
  text.reserve(static_cast<std::size_t>(raw.size()) + static_cast<std::size_t>(blockCount()));
  for (const QChar c : raw) {
    if (c == QChar::ParagraphSeparator) {
      text += u"\r\n";
    } else {
      text += c.unicode();
    }
  }
  return text;
}

void ResultBox::SetText(std::u16string_view text) {
  buffered_.clear();
  show_from_start_ = false;
  setPlainText(ToQString(text));
  ShowFromStart();
}

void ResultBox::Append(std::u16string_view piece) {
  buffered_.append(QStringView(piece.data(), static_cast<qsizetype>(piece.size())));
  show_from_start_ = true;
}

bool ResultBox::Flush() {
  bool seen = false;
  if (!buffered_.isEmpty()) {
    // Taken out first: the insertion sends events of its own, which flush again.
    const QString text = std::exchange(buffered_, QString());
    // Text added below the view leaves the view as it was: the view is not marked for
    // redrawing, which would cost a full redraw of it once a frame for as long as a run goes.
    seen = verticalScrollBar()->value() != 0 || !EndIsBelowView();
    QWidget* view = viewport();
    view->setAttribute(Qt::WA_UpdatesDisabled, !seen);
    // A written text clears the undo history, as a replaced text would; and the appends of a
    // run would otherwise pile up in it.
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    doc->setUndoRedoEnabled(true);
    view->setAttribute(Qt::WA_UpdatesDisabled, false);
  }
  if (show_from_start_) {
    show_from_start_ = false;
    ShowFromStart();
  }
  return seen;
}

void ResultBox::DrawNow() {
  if (Flush()) {
    repaint();
  } else {
    verticalScrollBar()->repaint();
  }
}

bool ResultBox::EndIsBelowView() const {
  const QTextBlock last = document()->lastBlock();
  const qreal bottom = viewport()->height();
  qreal top = contentOffset().y();
  for (QTextBlock block = firstVisibleBlock(); block.isValid() && top < bottom;
       block = block.next()) {
    if (block == last) {
      return false;
    }
    top += blockBoundingRect(block).height();
  }
  return true;
}

std::size_t ResultBox::Length() const {
  // characterCount() counts each separator once and one more at the end; Text() writes each as
  // CR LF.
  const QTextDocument* doc = document();
  return static_cast<std::size_t>(doc->characterCount() - 1) +
         static_cast<std::size_t>(doc->blockCount() - 1) +
         static_cast<std::size_t>(buffered_.size());
}

void ResultBox::ShowFromStart() {
  QTextCursor caret = textCursor();
  if (caret.position() != 0 || caret.hasSelection()) {
    caret.setPosition(0);
    setTextCursor(caret);
  }
  verticalScrollBar()->setValue(0);
}

}  // namespace quorel
