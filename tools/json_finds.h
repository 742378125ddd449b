// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-search --json: one JSON object per find, one find per line.
#pragma once

#include <string>

#include "find_references.h"
#include "output_stream.h"
#include "search/find_sink.h"
#include "stream_find_writer.h"

namespace quorel {

// Writes {"skip":S,"position":P,"letters":"...","line":"..."} and a line feed for every find:
// the find's letters as the text has them (a folded final form stays final), and `line` the
// letters of the one-line view's rows (OneLineLetters), as the result text shows them after
// "Result: ". With a verse index, ,"from":"Genesis 1:1","to":"Genesis 1:7" follow: the verses of
// the word's first letter (at the position) and of its last letter; null for a letter before the
// index's first verse.
class JsonFindWriter final : public StreamFindWriter {
 public:
  explicit JsonFindWriter(OutputStream& out, FindReferences* references = nullptr)
      : StreamFindWriter(out), references_(references) {}

  void Begin(const LetterText& text, std::u16string_view target) override;
  bool Take(const Find& find) override;

 private:
  FindReferences* references_;
  const LetterText* text_ = nullptr;
  std::string object_;      // reused for every find
  std::u16string letters_;  // reused for every find
};

// `text` as a JSON string, quotes included: UTF-8, with the characters JSON requires escaped.
void AppendJsonString(std::u16string_view text, std::string& out);

}  // namespace quorel
