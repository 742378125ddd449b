// Text4, the result box: a multi-line box with a vertical scroll bar whose long lines wrap, and
// an append whose cost grows with the piece added, not with the text already in the box.
#pragma once

#include <QPlainTextEdit>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorel {

class ResultBox final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ResultBox(QWidget* parent);

  // The whole text, each line break as CR LF.
  std::u16string Text() const;
  // Replaces the whole text; the box then shows it from the start, caret at the start.
  void SetText(std::u16string_view text);
  // Adds `piece` at the end; the box then shows its text from the start, caret at the start.
  void Append(std::u16string_view piece);
  // The length of Text(), found without building it.
  std::size_t Length() const;

 private:
  void ShowFromStart();
};

}  // namespace quorel
