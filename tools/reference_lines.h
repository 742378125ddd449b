// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-search --refs: one line a find, for people: its skip, its position and, when the data
// file has a verse index, the verses of its first and last letters.
#pragma once

#include <string>

#include "find_references.h"
#include "output_stream.h"
#include "search/find_sink.h"
#include "stream_find_writer.h"

namespace quorel {

// Writes "SKIP<TAB>POSITION<TAB>FROM<TAB>TO" and a line feed for every find ("50\t6\tGenesis
// 1:1\tGenesis 1:7"); without an index only "SKIP<TAB>POSITION". A letter before the first verse
// of the index has the reference "-".
class ReferenceLineWriter final : public StreamFindWriter {
 public:
  ReferenceLineWriter(OutputStream& out, FindReferences& references)
      : StreamFindWriter(out), references_(references) {}

  void Begin(const LetterText& text, std::u16string_view target) override;
  bool Take(const Find& find) override;

 private:
  FindReferences& references_;
  std::string line_;  // reused for every find
};

}  // namespace quorel
