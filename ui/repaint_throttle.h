// Redraws each box at most once a frame while a run writes to it many times a frame.
//
// A redraw asked for within a frame of the box's previous one is held: the box is kept from
// being drawn at all (so the window's own event handling does not draw it either) until its
// frame is over, and then drawn with whatever it holds by then. A held box is drawn by the next
// request that finds it due, by a timer that fires in the run's next yield once it is due, or by
// DrawAll when the run ends or shows a message.
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

  // `hold` stops the box from being drawn; `draw` lets it be drawn again and draws it now.
  // `now` reads the clock; tests give their own.
  RepaintThrottle(std::function<void(Box)> hold, std::function<void(Box)> draw,
                  std::function<Clock::time_point()> now = &Clock::now);

  // Draws `box` now if its frame is over, else holds it; draws any other held box that is due.
  void Request(Box box);
  // Draws every held box now.
  void DrawAll();

 private:
  struct Slot {
    Clock::time_point last_drawn;
    bool held = false;
  };

  void DrawSlot(Box box, Clock::time_point now);
  void DrawDue(Clock::time_point now);
  void ArmTimer(Clock::time_point now);
  Slot& SlotOf(Box box) { return slots_[static_cast<std::size_t>(box)]; }

  std::function<void(Box)> hold_;
  std::function<void(Box)> draw_;
  std::function<Clock::time_point()> now_;
  std::array<Slot, 5> slots_{};
  QTimer timer_;
};

}  // namespace quorel
