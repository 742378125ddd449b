// The number of finds of a word in a text over a study's skips, and the number that chance alone
// would give.
#pragma once

#include <cstdint>
#include <string_view>

#include "study/study_skips.h"

namespace quorel {

// Every find of `word` (2 or more letters) at every skip of `skips` in `letters`, counted with
// the fast scan.
std::int64_t CountFinds(std::u16string_view letters, std::u16string_view word, StudySkips skips);

// The number of finds expected if the letters stood independently, each with its share of the
// text: the sum over the skips of the start positions at that skip (letters - (k - 1) * |skip|
// for a word of k letters, when positive) times the product over the word's letters of
// (the letter's count in the text / the text's length).
double ExpectedFinds(std::u16string_view letters, std::u16string_view word, StudySkips skips);

}  // namespace quorel
