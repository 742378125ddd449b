// SPDX-License-Identifier: GPL-3.0-or-later
#include "result_box.h"

#include <QEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui/user_input.h"

namespace quorel {
namespace {

// Bounds of a piece inserted at once, in characters.
constexpr std::size_t kSmallestPiece = 1024;
constexpr std::size_t kLargestPiece = 4 * 1024 * 1024;

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
  taken_ = 0;
  show_from_start_ = false;
  setPlainText(ToQString(text));
  ShowFromStart();
}

void ResultBox::Append(std::u16string_view piece) {
  if (taken_ > 0 && taken_ >= buffered_.size() / 2) {
    buffered_.remove(0, taken_);  // what the document holds already
    taken_ = 0;
  }
  buffered_.append(QStringView(piece.data(), static_cast<qsizetype>(piece.size())));
  show_from_start_ = true;
}

bool ResultBox::Flush() {
  bool seen = false;
  if (!inserting_) {
    while (Buffered() > 0) {
      seen = InsertPiece(buffered_.size() - taken_) || seen;
    }
  }
  if (show_from_start_) {
    show_from_start_ = false;
    ShowFromStart();
  }
  return seen;
}

void ResultBox::InsertFor(std::chrono::steady_clock::duration budget) {
  using Clock = std::chrono::steady_clock;
  // A piece takes about a quarter of the budget, so the last one overruns it by little.
  const auto piece_time = budget;
  const Clock::time_point deadline = Clock::now() + budget;
  while (!inserting_ && Buffered() > 0) {
    const Clock::time_point start = Clock::now();
    const qsizetype length = static_cast<qsizetype>(std::min(piece_length_, Buffered()));
    InsertPiece(length);
    const Clock::time_point end = Clock::now();
    // The cost of a character grows with the lines it brings and the box's width: the piece
    // follows what the last one cost.
    if (length == static_cast<qsizetype>(piece_length_)) {
      if (end - start > piece_time && piece_length_ > kSmallestPiece) {
        piece_length_ /= 2;
      } else if (end - start < piece_time / 4 && piece_length_ < kLargestPiece) {
        piece_length_ *= 2;
      }
    }
    if (end >= deadline) {
      break;
    }
  }
}

qsizetype ResultBox::PieceEnd(qsizetype length) const {
  const qsizetype end = taken_ + length;
  if (end >= buffered_.size()) {
    return buffered_.size();
  }
  const qsizetype last_break = buffered_.lastIndexOf(u'\n', end - 1);
  if (last_break >= taken_) {
    return last_break + 1;
  }
  // No line break in the piece: cut anywhere but inside a CR LF pair.
  return buffered_.at(end - 1) == u'\r' ? end + 1 : end;
}

bool ResultBox::InsertPiece(qsizetype length) {
  const qsizetype end = PieceEnd(length);
  // Taken out first: the insertion sends events of its own, which flush again.
  const QString text = buffered_.mid(taken_, end - taken_);
  taken_ = end;
  if (taken_ == buffered_.size()) {
    buffered_.clear();
    taken_ = 0;
  }
  inserting_ = true;
  // Text added below the view leaves the view as it was: the view is not marked for
  // redrawing, which would cost a full redraw of it once a frame for as long as a run goes.
  const bool seen = verticalScrollBar()->value() != 0 || !EndIsBelowView();
  QWidget* view = viewport();
  view->setAttribute(Qt::WA_UpdatesDisabled, !seen);
  // A written text clears the undo history, as a replaced text would; and the appends of a
  // run would otherwise pile up in it.
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  QTextCursor end_of_text(doc);
  end_of_text.movePosition(QTextCursor::End);
  end_of_text.insertText(text);
  doc->setUndoRedoEnabled(true);
  view->setAttribute(Qt::WA_UpdatesDisabled, false);
  inserting_ = false;
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
         static_cast<std::size_t>(doc->blockCount() - 1) + Buffered();
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
