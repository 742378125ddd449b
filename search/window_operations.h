// SPDX-License-Identifier: GPL-3.0-or-later
// The window operations that a search run is given.
//
// A run reaches its window only through this interface, so the run builds, runs and is tested
// without any windowing toolkit: the Qt window, the console front end and the tests' scripted
// window each implement it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace quorel {

// The text boxes that a run reads or writes.
enum class Box {
  Text1,  // the target word
  Text2,  // the largest skip
  Text3,  // the smallest skip
  Text4,  // the result box
  Text5,  // the progress box
};
// How many boxes there are, for tables indexed by Box.
inline constexpr std::size_t kBoxCount = 5;

// States of the check box `Check1`.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGreyed = 2;

class WindowOperations {
 public:
  virtual ~WindowOperations() = default;

  // The box's whole current text, including anything the user has typed.
  virtual std::u16string GetText(Box box) = 0;
  // Replaces the box's whole text at once.
  virtual void SetText(Box box, std::u16string_view text) = 0;
  // Adds `piece` at the end of the box's current text, user's typing included: the same result
  // as SetText(box, GetText(box) + piece), but a window can do it at a cost that grows with the
  // piece rather than with the box.
  virtual void AppendText(Box box, std::u16string_view piece) {
    std::u16string text = GetText(box);
    text.append(piece);
    SetText(box, text);
  }
  // Shows the box's current text on screen before returning, handling no other event.
  virtual void Repaint(Box box) = 0;
  // The state of `Check1`: kUnchecked, kChecked or kGreyed.
  virtual int GetCheckState() = 0;
  // An application-modal message with one OK button; returns once the user has closed it.
  virtual void ShowMessage(std::u16string_view text) = 0;
  // Handles every window event waiting now, then returns.
  virtual void PumpEvents() = 0;
  // Whether Escape is held down at this moment.
  virtual bool IsEscapeDown() = 0;

  // True once the window is gone (closed during a run); the run then touches no box again.
  virtual bool IsWindowGone() { return false; }
  // True when the window, handling its events between two finds of a skip, saw Escape held
  // down: the run stops there as it would at a poll, so a skip with many finds is not waited
  // out.
  virtual bool WasEscapeSeen() { return false; }
  // How many more characters the box can take; a run that would go past it stops.
  virtual std::size_t RoomLeft(Box /*box*/) { return std::numeric_limits<std::size_t>::max(); }

  // The window's flag that tells the status step that Escape stopped the run.
  bool Aborted = false;
};

}  // namespace quorel
