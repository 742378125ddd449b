// SPDX-License-Identifier: GPL-3.0-or-later
// Where a find stands: the verses of its first and last letters, from the verse index beside the
// data file (text/verse_index.h).
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "search/find.h"
#include "text/letter_text.h"
#include "text/verse_index.h"

namespace quorel {

// The references of one find: `from` of the word's first letter (at the find's Position), `to`
// of its last letter (at Position + (TargetLen - 1) * Skip). For a backward find `from` thus
// stands later in the text than `to`. Each is empty when its letter lies before the first verse.
struct FindSpan {
  std::string from;
  std::string to;
};

class FindReferences {
 public:
  // `show_message` shows a refused index's sentence, as the window's ShowMessage does.
  FindReferences(std::filesystem::path data_file,
                 std::function<void(std::u16string_view)> show_message)
      : data_file_(std::move(data_file)), show_message_(std::move(show_message)) {}

  // Reads the index that belongs to the data file, checked against the loaded text. An index
  // that does not fit is shown in its one sentence and not used; no index is no message.
  void Load(const LetterText& text);
  bool Available() const { return index_.has_value(); }
  // The references of `find`; none without an index.
  std::optional<FindSpan> Of(const Find& find) const;

 private:
  std::string ReferenceAt(std::int64_t position) const;

  std::filesystem::path data_file_;
  std::function<void(std::u16string_view)> show_message_;
  std::optional<VerseIndex> index_;
};

}  // namespace quorel
