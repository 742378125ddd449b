// SPDX-License-Identifier: GPL-3.0-or-later
#include "find_references.h"

#include "text/utf.h"

namespace quorel {

void FindReferences::Load(const LetterText& text) {
  VerseIndexLoad load = LoadVerseIndex(VerseIndexPathFor(data_file_), text.FileLength());
  if (!load.failure.empty()) {
    show_message_(Utf8ToUtf16(load.failure));
  }
  index_ = std::move(load.index);
}

std::optional<FindSpan> FindReferences::Of(const Find& find) const {
  if (!index_) {
    return std::nullopt;
  }
  const std::int64_t last = find.position + (find.target_len - 1) * std::int64_t{find.skip};
  return FindSpan{ReferenceAt(find.position), ReferenceAt(last)};
}

std::string FindReferences::ReferenceAt(std::int64_t position) const {
  const Verse* verse = index_->VerseAt(static_cast<std::int32_t>(position));
  return verse ? VerseReference(*verse) : std::string();
}

}  // namespace quorel
