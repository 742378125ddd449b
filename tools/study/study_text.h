// What the distance commands read: the letters of the data file in the current folder and the
// words typed or listed, both with final forms read as their regular letters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "study/largest_skip.h"

namespace quorel {

// Exit statuses of the distance commands, as quorel-search has them.
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

struct StudyText {
  std::u16string letters;  // the letters the data file holds, final forms folded
  LetterCounts counts;
};

// Loads Quorel.DSF from the current folder; on failure gives nothing and sets `failure` to the
// loader's sentence.
std::optional<StudyText> LoadStudyText(std::string& failure);

// A word as typed (UTF-8): Hebrew letters only, at least three of them; final forms folded.
// Refused with a sentence in `failure` otherwise.
std::optional<std::u16string> StudyWord(std::string_view typed, std::string& failure);

}  // namespace quorel
