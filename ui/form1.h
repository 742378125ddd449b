// SPDX-License-Identifier: GPL-3.0-or-later
// Form1, the program's only window: the search inputs on the left, the result box on the right,
// and the window operations through which a search run reaches them.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>

#include "search/window_operations.h"
#include "ui/repaint_throttle.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorel {

class EscapeKey;
class ResultBox;

// The result box holds at most this many characters (a line break counts two); a run stops
// before a find would go past it. Scrolling and typing in the box stay within a few
// milliseconds from 4 to 128 million characters (bench/result-box-bench), so the limit is set
// by memory: about 180 MB at 32 million, while the default word's whole area view over every
// skip, 21 million characters, still fits.
inline constexpr std::size_t kResultBoxCapacity = 32'000'000;
// How long one insertion into the result box may take during a run, so that the window handles
// its events, Escape included, at least every few frames however many finds a skip has.
inline constexpr std::chrono::milliseconds kInsertBudget{8};

class Form1 final : public QWidget, public WindowOperations {
  Q_OBJECT

 public:
  // `capacity` is the result box's; tests give a small one.
  explicit Form1(std::size_t capacity = kResultBoxCapacity);
  ~Form1() override;

  std::u16string GetText(Box box) override;
  void SetText(Box box, std::u16string_view text) override;
  void AppendText(Box box, std::u16string_view piece) override;
  void Repaint(Box box) override;
  int GetCheckState() override;
  void ShowMessage(std::u16string_view text) override;
  void PumpEvents() override;
  bool IsEscapeDown() override;
  bool IsWindowGone() override;
  bool WasEscapeSeen() override;
  std::size_t RoomLeft(Box box) override;

  // Whether a search run is going on.
  bool IsRunning() const { return running_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  // Gives every control the name of its caption for screen readers.
  void NameControls();
  void SetTabOrder();
  // The handler of a press of Command1.
  void OnCommand1Clicked();
  QLineEdit* LineBox(Box box) const;
  // Puts text into a single-line box's control, caret at the start.
  void ShowLineText(Box box, const QString& text);
  // Moves a single-line box's held text into its control.
  void ApplyHeldText(Box box);
  void Draw(Box box);
  // Handles the window's waiting events when a frame has passed since it last did, so that a
  // run with many finds at one skip keeps the window live; notes an Escape held then.
  void HandleEventsIfDue();

  QLabel* label1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLabel* label3_ = nullptr;
  QLineEdit* text3_ = nullptr;
  QLabel* label2_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QPushButton* command1_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QLabel* label5_ = nullptr;
  QLineEdit* text5_ = nullptr;
  QLabel* label4_ = nullptr;
  ResultBox* text4_ = nullptr;

  std::size_t capacity_;
  std::unique_ptr<EscapeKey> escape_key_;
  RepaintThrottle throttle_;
  // What the run wrote into a single-line box while the box was held.
  std::array<std::optional<QString>, kBoxCount> held_text_;
  // When the window last handled its events during a run.
  RepaintThrottle::Clock::time_point events_handled_{};
  // The run has handled events at a skip at least once.
  bool skip_shown_ = false;
  // Escape was seen held while events were handled between two finds: the run stops there.
  bool escape_seen_ = false;
  bool running_ = false;
  bool gone_ = false;  // closed while a run was going
};

}  // namespace quorel
