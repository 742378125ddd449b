#include "result_box.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quorel {
namespace {

QString ToQString(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

}  // namespace

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
}

std::u16string ResultBox::Text() const {
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
  setPlainText(ToQString(text));
  ShowFromStart();
}

void ResultBox::Append(std::u16string_view piece) {
  // A written text clears the undo history, as a replaced text would; and the appends of a run
  // would otherwise pile up in it.
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  QTextCursor end(doc);
  end.movePosition(QTextCursor::End);
  end.insertText(ToQString(piece));
  doc->setUndoRedoEnabled(true);
  ShowFromStart();
}

std::size_t ResultBox::Length() const {
  // characterCount() counts each separator once and one more at the end; Text() writes each as
  // CR LF.
  const QTextDocument* doc = document();
  return static_cast<std::size_t>(doc->characterCount() - 1) +
         static_cast<std::size_t>(doc->blockCount() - 1);
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
