// quorel-search --json: one JSON object per find, one find per line.
#pragma once

#include <string>

#include "output_stream.h"
#include "search/find_sink.h"

namespace quorel {

// Writes {"skip":S,"position":P,"letters":"...","line":"..."} and a line feed for every find:
// the find's letters, and `line` the letters of the one-line view's rows (OneLineLetters), as
// the result text shows them after "Result: ".
class JsonFindWriter final : public FindSink {
 public:
  explicit JsonFindWriter(OutputStream& out) : out_(out) {}

  void Begin(const LetterText& text, std::u16string_view target) override;
  bool Take(const Find& find) override;
  // Once per skip, what was written reaches a reader without waiting for more finds.
  void SkipDone(std::int32_t, std::int64_t, std::size_t finds) override;
  bool Failed() const override { return out_.Failed(); }

 private:
  OutputStream& out_;
  const LetterText* text_ = nullptr;
  std::u16string_view target_;
  std::string object_;  // reused for every find
};

// `text` as a JSON string, quotes included: UTF-8, with the characters JSON requires escaped.
void AppendJsonString(std::u16string_view text, std::string& out);

}  // namespace quorel
