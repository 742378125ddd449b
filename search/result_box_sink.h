// SPDX-License-Identifier: GPL-3.0-or-later
// The finds of a run written into the result box: a header and a context view each.
#pragma once

#include <cstdint>

#include "search/find_sink.h"
#include "search/window_operations.h"

namespace quorel {

class ResultBoxSink final : public FindSink {
 public:
  explicit ResultBoxSink(WindowOperations& window) : window_(window) {}

  void Begin(const LetterText& text, std::u16string_view target) override;
  // Appends the find's header and its view; when the box might not hold them, says so in one
  // sentence instead and refuses the find.
  bool Take(const Find& find) override;

 private:
  WindowOperations& window_;
  const LetterText* text_ = nullptr;
  std::int64_t finds_shown_ = 0;
};

}  // namespace quorel
