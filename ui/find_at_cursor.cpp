// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find_at_cursor.h"

#include <QStringList>

namespace quorel {
namespace {

// An area view has a line per letter of the find and 20 more; a find of a few thousand letters
// is as far back as a header is looked for.
constexpr int kMostLinesBack = 20000;
// In a row of the area view, the letter at the row's position follows the frame (4), the 25
// letters before it and a blank.
constexpr int kAreaCentre = 30;

const QString kSkipLabel = QStringLiteral("Skip: ");
const QString kPositionLabel = QStringLiteral("Position: ");
const QString kOneLineLabel = QStringLiteral("Result: ");

std::optional<std::int32_t> NumberAfter(const QString& line, const QString& label) {
  const QString rest = line.mid(label.size());
  bool ok = false;
  const int number = rest.section(u' ', 0, 0).toInt(&ok);
  return ok ? std::optional<std::int32_t>(number) : std::nullopt;
}

bool IsHeader(const QTextBlock& skip_line) {
  return skip_line.text().startsWith(kSkipLabel) &&
         skip_line.next().text().startsWith(kPositionLabel);
}

// "Result: " before, a blank, the find's letters, a blank, after.
std::u16string OneLineLetters(const QString& line) {
  const QStringList parts = line.mid(kOneLineLabel.size()).split(u' ');
  return parts.size() == 3 ? parts[1].toStdU16String() : std::u16string();
}

// A blank line, the rows before the find, a blank line, the find's rows, a blank line: the
// letters at the centre of the find's rows.
std::u16string AreaLetters(QTextBlock line) {
  line = line.next();  // the rows before the find
  while (line.isValid() && !line.text().isEmpty()) {
    line = line.next();
  }
  std::u16string letters;
  for (line = line.next(); line.isValid() && !line.text().isEmpty(); line = line.next()) {
    const QString row = line.text();
    if (row.size() <= kAreaCentre) {
      return {};
    }
    letters += row[kAreaCentre].unicode();
  }
  return letters;
}

}  // namespace

std::optional<ResultBoxFind> FindAtLine(const QTextBlock& block) {
  QTextBlock header = block;
  int back = 0;
  while (header.isValid() && back++ < kMostLinesBack && !IsHeader(header)) {
    header = header.previous();
  }
  if (!header.isValid() || !IsHeader(header)) {
    return std::nullopt;
  }
  const QTextBlock position_line = header.next();
  const auto skip = NumberAfter(header.text(), kSkipLabel);
  const auto position = NumberAfter(position_line.text(), kPositionLabel);
  if (!skip || !position) {
    return std::nullopt;
  }
  const QTextBlock view = position_line.next();
  ResultBoxFind find{*skip, *position, {}};
  if (view.text().startsWith(kOneLineLabel)) {
    find.letters = OneLineLetters(view.text());
  } else if (view.text().isEmpty()) {
    find.letters = AreaLetters(view);
  }
  if (find.letters.size() < 2) {
    return std::nullopt;
  }
  return find;
}

}  // namespace quorel
