// SPDX-License-Identifier: GPL-3.0-or-later
// Opens the matrix of a find from the result box: the entry "Show matrix of this find" in the
// box's context menu, on the line clicked, and the shortcut Ctrl+M, on the caret's line. Either
// opens a new matrix window; what the box does otherwise is left as it was.
#pragma once

#include <QKeySequence>

class QPlainTextEdit;

namespace quorel {

inline const QKeySequence kMatrixShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));

// Gives `box` the context-menu entry and the shortcut. The matrix windows are windows of their
// own, owned by the box's window, so they close with it.
void AttachMatrixOpener(QPlainTextEdit* box);

}  // namespace quorel
