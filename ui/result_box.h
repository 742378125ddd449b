// SPDX-License-Identifier: GPL-3.0-or-later
// Text4, the result box: a multi-line box with a vertical scroll bar whose long lines wrap, and
// an append whose cost grows with the piece added, not with the text already in the box.
//
// Appended text waits in a buffer and goes into the document when the box is drawn, when its
// text is read, and before the box handles any input event: the user always works on the whole
// text, while a run that appends thousands of pieces a second pays for the document's layout
// once a frame rather than once a piece. A long buffer goes into the document in pieces, each
// sized to take a few milliseconds (InsertFor), so that the window can handle its events
// between them.
//
// A copy or a drag carries the selection as plain text only: the box holds nothing else, and
// the rich forms that a text edit offers by default (HTML, Markdown, OpenDocument) would cost
// seconds and several times the text's size in memory for a box of millions of characters.
#pragma once

#include <QPlainTextEdit>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorel {

class ResultBox final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ResultBox(QWidget* parent);

  // The whole text, each line break as CR LF.
  std::u16string Text();
  // Replaces the whole text; the box then shows it from the start, caret at the start.
  void SetText(std::u16string_view text);
  // Adds `piece` at the end; the box then shows its text from the start, caret at the start.
  void Append(std::u16string_view piece);
  // The length of Text(), found without building it.
  std::size_t Length() const;
  // Moves the buffered appends into the document; returns whether that changed what the box
  // shows (appends below the view change the scroll bar alone).
  bool Flush();
  // Moves buffered appends into the document, a piece at a time, until the buffer is empty or
  // `budget` is spent; a piece is cut after a line break where there is one.
  void InsertFor(std::chrono::steady_clock::duration budget);
  // How many appended characters wait for the document, and how many of them the next piece
  // takes: the number inserted within a few milliseconds, as measured on this box.
  std::size_t Buffered() const { return static_cast<std::size_t>(buffered_.size() - taken_); }
  std::size_t PieceLength() const { return piece_length_; }
  // Flushes the buffer and shows the box's current text on screen now.
  void DrawNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void ShowFromStart();
  // Whether the last block, where appends go, starts below the bottom of the view.
  bool EndIsBelowView() const;

  // Inserts the next `length` buffered characters (fewer, to end after a line break); returns
  // whether the text went where the view shows it.
  bool InsertPiece(qsizetype length);
  // Where the next piece of at most `length` characters ends: after the last line break in
  // it, never between CR and LF.
  qsizetype PieceEnd(qsizetype length) const;

  // Appended text; the first `taken_` characters of it are in the document already.
  QString buffered_;
  qsizetype taken_ = 0;
  bool inserting_ = false;
  std::size_t piece_length_ = 16 * 1024;
  bool show_from_start_ = false;
};

}  // namespace quorel
