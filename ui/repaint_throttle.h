// SPDX-License-Identifier: GPL-3.0-or-later
// Redraws each box at most once a frame while a run writes to it many times a frame.
//
// A box whose redraw is asked for within a frame of its previous one is held: what the run
// writes into it waits (the window keeps it aside and does not show it) until the box's frame is
// over, and then the box is drawn with whatever it holds by then. A held box is drawn by the
// next request that finds it due, by a timer that fires in the run's next yield once it is due,
// or by DrawAll when the run ends or shows a message.
#pragma once

#include <QTimer>
#include <array>
#include <chrono>
#include <functional>

#include "search/window_operations.h"

namespace quorel {

class RepaintThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  // About one frame of a 60 Hz screen.
  static constexpr Clock::duration kFrame = std::chrono::milliseconds(16);

  // `draw` shows the box with what it holds now. `clock` reads the time; tests give their own.
  explicit RepaintThrottle(std::function<void(Box)> draw,
                           std::function<Clock::time_point()> clock = &Clock::now);

  // Draws `box` now if its frame is over, else holds it; draws any other held box that is due.
  void Request(Box box);
  // Holds `box` if its frame is not over and returns true; returns false if it may be drawn now.
  bool Defer(Box box);
  bool IsHeld(Box box) const { return SlotOf(box).held; }
  // Draws every held box now.
  void DrawAll();

 private:
  struct Slot {
    Clock::time_point last_drawn;
    bool held = false;
  };

  void Hold(Box box, Clock::time_point now);
  void DrawSlot(Box box, Clock::time_point now);
  void DrawDue(Clock::time_point now);
  void ArmTimer(Clock::time_point now);
  Slot& SlotOf(Box box) { return slots_[static_cast<std::size_t>(box)]; }
  const Slot& SlotOf(Box box) const { return slots_[static_cast<std::size_t>(box)]; }

  std::function<void(Box)> draw_;
  std::function<Clock::time_point()> now_;
  std::array<Slot, kBoxCount> slots_{};
  QTimer timer_;
};

}  // namespace quorel
