// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/matrix_opener.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <filesystem>

#include "text/letter_text.h"
#include "ui/find_at_cursor.h"
#include "ui/matrix_window.h"

namespace quorel {
namespace {

// Opens the matrix of the find that `line` belongs to, or says, without holding anything up,
// where to put the caret.
void OpenMatrixAt(QPlainTextEdit* box, const QTextBlock& line) {
  const std::optional<ResultBoxFind> find = FindAtLine(line);
  if (!find) {
    auto* note = new QMessageBox(
        QMessageBox::NoIcon, QCoreApplication::applicationName(),
        QStringLiteral("Put the caret on a find's lines (its Skip, its Position or its view) "
                       "to see its matrix."),
        QMessageBox::Ok, box->window());
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->setModal(false);
    note->show();
    return;
  }
  // The data file that the search read: Quorel.DSF in the current folder, named in full, so
  // the window reads the same one whatever happens to the folder later.
  std::error_code ignored;
  const std::filesystem::path data_file = std::filesystem::absolute(kDataFileName, ignored);
  auto* window =
      new MatrixWindow(find->letters, find->skip, find->position, data_file, box->window());
  window->show();
}

}  // namespace

void AttachMatrixOpener(QPlainTextEdit* box) {
  auto* show_matrix = new QAction(QStringLiteral("Show matrix of this find"), box);
  show_matrix->setObjectName(QStringLiteral("showMatrixAction"));
  show_matrix->setShortcut(kMatrixShortcut);
  show_matrix->setShortcutContext(Qt::WidgetShortcut);
  box->addAction(show_matrix);
  QObject::connect(show_matrix, &QAction::triggered, box,
                   [box] { OpenMatrixAt(box, box->textCursor().block()); });

  // The box's own menu with the entry added, for the line under the mouse. The menu pops up
  // without a loop of its own, so a running search goes on while it is open.
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(box, &QWidget::customContextMenuRequested, box, [box](const QPoint& at) {
    QMenu* menu = box->createStandardContextMenu(at);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("resultBoxMenu"));
    // By its number: a search may append to the box while the menu is open.
    const int line = box->cursorForPosition(at).blockNumber();
    menu->addSeparator();
    QAction* entry = menu->addAction(QStringLiteral("Show matrix of this find"));
    entry->setShortcut(kMatrixShortcut);
    QObject::connect(entry, &QAction::triggered, box,
                     [box, line] { OpenMatrixAt(box, box->document()->findBlockByNumber(line)); });
    menu->popup(box->viewport()->mapToGlobal(at));
  });
}

}  // namespace quorel
