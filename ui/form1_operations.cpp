// SPDX-License-Identifier: GPL-3.0-or-later
// The window operations of Form1, as a search run uses them.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <limits>

#include "ui/escape_key.h"
#include "ui/form1.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/result_box.h"

namespace quorel {

std::u16string Form1::GetText(Box box) {
  if (box == Box::Text4) {
    return text4_->Text();
  }
  const std::optional<QString>& held = held_text_[static_cast<std::size_t>(box)];
  return (held ? *held : LineBox(box)->text()).toStdU16String();
}

void Form1::SetText(Box box, std::u16string_view text) {
  if (gone_) {
    return;
  }
  if (box == Box::Text4) {
    text4_->SetText(text);
    return;
  }
  // Within a frame of the box's last redraw the text waits for the next one; this also spares
  // the control's own layout at every skip.
  if (throttle_.Defer(box)) {
    held_text_[static_cast<std::size_t>(box)] = ToQString(text);
    return;
  }
  held_text_[static_cast<std::size_t>(box)].reset();
  ShowLineText(box, ToQString(text));
}

void Form1::AppendText(Box box, std::u16string_view piece) {
  if (gone_) {
    return;
  }
  if (box == Box::Text4) {
    text4_->Append(piece);
    // What goes into the document at once stays small enough to take a few milliseconds.
    if (text4_->Buffered() >= text4_->PieceLength()) {
      text4_->InsertFor(kInsertBudget);
    }
    return;
  }
  SetText(box, GetText(box) + std::u16string(piece));
}

void Form1::Repaint(Box box) {
  if (gone_) {
    return;
  }
  throttle_.Request(box);
  // The run repaints the result box after every find: between two finds the window can take
  // its events without cutting one in two.
  if (box == Box::Text4) {
    HandleEventsIfDue();
  }
}

void Form1::HandleEventsIfDue() {
  // Only once the run has shown its first skip: before that the progress box still shows the
  // last run's status word, which must not be read as this run's.
  if (!running_ || !skip_shown_ || escape_seen_ ||
      RepaintThrottle::Clock::now() - events_handled_ < RepaintThrottle::kFrame) {
    return;
  }
  PumpEvents();
  if (!gone_ && escape_key_->IsDown()) {
    escape_seen_ = true;
  }
}

int Form1::GetCheckState() {
  switch (check1_->checkState()) {
    case Qt::Unchecked:
      return kUnchecked;
    case Qt::Checked:
      return kChecked;
    case Qt::PartiallyChecked:
      return kGreyed;
  }
  return kUnchecked;
}

void Form1::ShowMessage(std::u16string_view text) {
  if (gone_) {
    return;
  }
  // The boxes show what they hold while the message waits for the user.
  throttle_.DrawAll();
  ShowQuorelMessage(this, ToQString(text));
  // Escape may have closed the box and still be held at the run's next poll: only a press
  // made after the box closed stops the run.
  escape_key_->IgnoreHeldPress();
}

void Form1::PumpEvents() {
  if (gone_) {
    return;
  }
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  events_handled_ = RepaintThrottle::Clock::now();
  skip_shown_ = running_;
}

bool Form1::IsEscapeDown() {
  return escape_key_->IsDown();
}

bool Form1::WasEscapeSeen() {
  return escape_seen_;
}

bool Form1::IsWindowGone() {
  return gone_;
}

std::size_t Form1::RoomLeft(Box box) {
  if (box != Box::Text4) {
    return std::numeric_limits<std::size_t>::max();
  }
  const std::size_t length = text4_->Length();
  return length >= capacity_ ? 0 : capacity_ - length;
}

}  // namespace quorel
