// Every find of a word over a study's skips, as start and skip, for studies that look at where
// the finds lie and not only at how many there are.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "study/study_skips.h"

namespace quorel {

// A find: the word's letters stand at start, start + skip, ..., start + (k - 1) * skip (1-based
// positions); a negative skip reads the word backwards through the text.
struct SkipFind {
  std::int32_t start = 0;
  std::int32_t skip = 0;

  friend bool operator==(const SkipFind&, const SkipFind&) = default;
};

// The finds of `word` (2 or more letters) at every skip of `skips`, skip by skip from the
// smallest |skip| up (each positive skip before its negative), each skip's finds in increasing
// order of start. Replaces the contents of `finds`.
void CollectFinds(std::u16string_view letters, std::u16string_view word, StudySkips skips,
                  std::vector<SkipFind>& finds);

}  // namespace quorel
