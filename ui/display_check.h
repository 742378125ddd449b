// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the window has a graphical display to open on, asked before the toolkit starts: the
// toolkit itself would abort with a plugin error where there is none.
#pragma once

#include <optional>
#include <string>

namespace quorel {

// The sentence to print when there is no display to open the window on, or nothing when there
// is one. A platform chosen through QT_QPA_PLATFORM (the tests' offscreen platform among them)
// other than xcb is left to the toolkit.
std::optional<std::string> MissingDisplay();

}  // namespace quorel
