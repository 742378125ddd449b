// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted window for tests: boxes held as strings, a log of every operation the run makes,
// and hooks that play the user's part at PumpEvents and the Escape key at each poll.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "search/window_operations.h"
#include "text/utf.h"

namespace quorel::test {

class FakeWindow : public WindowOperations {
 public:
  FakeWindow(std::u16string word, std::u16string min_skip, std::u16string max_skip) {
    boxes[Box::Text1] = std::move(word);
    boxes[Box::Text3] = std::move(min_skip);
    boxes[Box::Text2] = std::move(max_skip);
  }

  std::u16string GetText(Box box) override { return boxes[box]; }
  void SetText(Box box, std::u16string_view text) override {
    boxes[box] = std::u16string(text);
    if (box == Box::Text5) {
      Log("progress " + Utf16ToUtf8(text));
    }
  }
  void Repaint(Box box) override {
    if (box == Box::Text4) {
      ++result_repaints;
    } else {
      Log("repaint " + Name(box));
    }
  }
  int GetCheckState() override {
    ++check_reads;
    return check_state;
  }
  void ShowMessage(std::u16string_view text) override {
    messages.push_back(Utf16ToUtf8(text));
    Log("message " + messages.back());
  }
  void PumpEvents() override {
    Log("pump");
    if (on_pump) {
      on_pump(*this);
    }
  }
  bool IsEscapeDown() override {
    Log("poll");
    ++polls;
    return escape_at_poll && escape_at_poll(polls);
  }
  bool IsWindowGone() override { return gone; }
  std::size_t RoomLeft(Box box) override {
    return boxes[box].size() >= capacity ? 0 : capacity - boxes[box].size();
  }

  std::string Text(Box box) { return Utf16ToUtf8(boxes[box]); }

  std::map<Box, std::u16string> boxes;
  int check_state = kUnchecked;
  std::function<void(FakeWindow&)> on_pump;
  std::function<bool(int poll)> escape_at_poll;  // polls are counted from 1
  bool gone = false;
  std::size_t capacity = std::u16string().max_size();

  std::vector<std::string> log;
  std::vector<std::string> messages;
  int polls = 0;
  int check_reads = 0;
  int result_repaints = 0;

 private:
  void Log(std::string entry) { log.push_back(std::move(entry)); }
  static std::string Name(Box box) {
    switch (box) {
      case Box::Text1:
        return "Text1";
      case Box::Text2:
        return "Text2";
      case Box::Text3:
        return "Text3";
      case Box::Text4:
        return "Text4";
      case Box::Text5:
        return "Text5";
    }
    return "?";
  }
};

}  // namespace quorel::test
