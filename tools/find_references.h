// Where a find stands: the verses of its first and last letters, from the verse index beside the
// data file (text/verse_index.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "search/find.h"
#include "search/window_operations.h"
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
  FindReferences(WindowOperations& window, std::filesystem::path data_file)
      : window_(window), data_file_(std::move(data_file)) {}

  // Reads the index that belongs to the data file, checked against the loaded text. An index
  // that does not fit is shown in its one sentence and not used; no index is no message.
  void Load(const LetterText& text);
  bool Available() const { return index_.has_value(); }
  // The references of `find`; none without an index.
  std::optional<FindSpan> Of(const Find& find) const;

 private:
  std::string ReferenceAt(std::int64_t position) const;

  WindowOperations& window_;
  std::filesystem::path data_file_;
  std::optional<VerseIndex> index_;
};

}  // namespace quorel
