// SPDX-License-Identifier: GPL-3.0-or-later
// Which events carry the user's reading or changing of a box.
#pragma once

#include <QEvent>

namespace quorel {

// Keys, mouse, wheel, touch, input method and drag and drop: a box must hold its whole current
// text before it handles one of them.
inline bool IsUserInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return event.isInputEvent();
  }
}

}  // namespace quorel
