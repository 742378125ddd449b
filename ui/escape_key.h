// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the Escape key is held down at the moment of asking.
#pragma once

#include <memory>

namespace quorel {

class EscapeKey {
 public:
  virtual ~EscapeKey() = default;
  // True while Escape is held down; a press released before the question is not seen.
  virtual bool IsDown() = 0;
  // Leaves out the press held now (one that closed a message box, say): IsDown reads false
  // until Escape has been released, and counts only a press made after that.
  virtual void IgnoreHeldPress() = 0;
};

// The best source the platform offers: on X11 the X server's own key state, which counts
// whatever window has the focus; elsewhere (Wayland, the offscreen platform) the key events
// that reach this program's windows.
std::unique_ptr<EscapeKey> MakeEscapeKey();

// Follows the Escape presses and releases that reach this program's windows. A key held while
// the program is in the background is not seen.
std::unique_ptr<EscapeKey> MakeWindowEscapeKey();

}  // namespace quorel
