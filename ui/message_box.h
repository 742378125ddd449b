// SPDX-License-Identifier: GPL-3.0-or-later
// The run's messages: one sentence, one OK button, no icon, the application's title.
#pragma once

#include <QString>

class QWidget;

namespace quorel {

// The application's title, which every message box carries.
inline constexpr char kApplicationTitle[] = "Quorel";

// Shows `text` in an application-modal box over `parent` and returns once it is closed.
void ShowQuorelMessage(QWidget* parent, const QString& text);

}  // namespace quorel
