// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-search's default output: the text the window's result box would hold, find by find.
#pragma once

#include <string>

#include "output_stream.h"
#include "search/find_sink.h"
#include "stream_find_writer.h"

namespace quorel {

// Writes each find's header and its view (the area view or the one-line view), exactly as the
// run appends them to the result box.
class ResultTextWriter final : public StreamFindWriter {
 public:
  ResultTextWriter(OutputStream& out, bool area) : StreamFindWriter(out), area_(area) {}

  void Begin(const LetterText& text, std::u16string_view target) override;
  bool Take(const Find& find) override;

 private:
  bool area_;
  const LetterText* text_ = nullptr;
  std::string find_text_;  // reused for every find
};

}  // namespace quorel
