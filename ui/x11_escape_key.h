// SPDX-License-Identifier: GPL-3.0-or-later
// The Escape key as the X server sees it, whatever window has the focus.
#pragma once

#include <memory>

#include "ui/escape_key.h"

namespace quorel {

// Opens a connection of its own to the display of $DISPLAY and follows the server's raw key
// events (XInput 2), so a poll reads what has arrived on the socket and costs no round trip.
// Without XInput 2 it asks the server's keymap at every poll. Null when no display answers.
std::unique_ptr<EscapeKey> ConnectX11EscapeKey();

}  // namespace quorel
