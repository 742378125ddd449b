// SPDX-License-Identifier: GPL-3.0-or-later
#include "repaint_throttle.h"

namespace quorel {
namespace {

// Every box, in the order of Box.
std::array<Box, kBoxCount> AllBoxes() {
  std::array<Box, kBoxCount> boxes{};
  for (std::size_t k = 0; k < kBoxCount; ++k) {
    boxes[k] = static_cast<Box>(k);
  }
  return boxes;
}

}  // namespace

RepaintThrottle::RepaintThrottle(std::function<void(Box)> draw,
                                 std::function<Clock::time_point()> clock)
    : draw_(std::move(draw)), now_(std::move(clock)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    const Clock::time_point now = now_();
    DrawDue(now);
    ArmTimer(now);
  });
}

void RepaintThrottle::Request(Box box) {
  const Clock::time_point now = now_();
  if (now - SlotOf(box).last_drawn >= kFrame) {
    DrawSlot(box, now);
  } else {
    Hold(box, now);
  }
  DrawDue(now);
}

bool RepaintThrottle::Defer(Box box) {
  const Clock::time_point now = now_();
  if (SlotOf(box).held || now - SlotOf(box).last_drawn < kFrame) {
    Hold(box, now);
    return true;
  }
  return false;
}

void RepaintThrottle::DrawAll() {
  timer_.stop();
  const Clock::time_point now = now_();
  for (const Box box : AllBoxes()) {
    if (SlotOf(box).held) {
      DrawSlot(box, now);
    }
  }
}

void RepaintThrottle::Hold(Box box, Clock::time_point now) {
  if (!SlotOf(box).held) {
    SlotOf(box).held = true;
    ArmTimer(now);
  }
}

void RepaintThrottle::DrawSlot(Box box, Clock::time_point now) {
  Slot& slot = SlotOf(box);
  slot.held = false;
  slot.last_drawn = now;
  draw_(box);
}

void RepaintThrottle::DrawDue(Clock::time_point now) {
  for (const Box box : AllBoxes()) {
    const Slot& slot = SlotOf(box);
    if (slot.held && now - slot.last_drawn >= kFrame) {
      DrawSlot(box, now);
    }
  }
}

// Keeps the timer set for the earliest held box, so a box held before a long yield is drawn
// during it.
void RepaintThrottle::ArmTimer(Clock::time_point now) {
  Clock::time_point earliest = Clock::time_point::max();
  for (const Slot& slot : slots_) {
    if (slot.held && slot.last_drawn + kFrame < earliest) {
      earliest = slot.last_drawn + kFrame;
    }
  }
  if (earliest == Clock::time_point::max()) {
    timer_.stop();
    return;
  }
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(earliest - now);
  timer_.start(std::max<int>(0, static_cast<int>(wait.count())));
}

}  // namespace quorel
