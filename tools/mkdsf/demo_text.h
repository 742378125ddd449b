// SPDX-License-Identifier: GPL-3.0-or-later
// The demo text: TEXT_LENGTH random letters with a few words planted at known skips, so that a
// newcomer without a data file can try the window. It is no real text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorel::mkdsf {

// A word written into the demo text at equal skips: its k-th letter (k from 0) stands at
// position + k * skip. The letters are regular forms, as the search looks for them.
struct PlantedWord {
  std::u32string_view typed;  // the word as a user types it, with blanks and final forms
  std::u32string_view letters;
  std::int32_t skip;
  std::int32_t position;  // 1-based
};

// The words planted into the demo text. The first spells "this is a demo text" from
// position 1 on, so the text says what it is wherever it is looked at from its start.
std::span<const PlantedWord> DemoPlantedWords();

// The seed of the generator behind the demo text; the same seed gives the same text everywhere.
inline constexpr std::uint64_t kDemoSeed = 304805;

// The data-file bytes of the demo text: TEXT_LENGTH letters shuffled from a pool that holds
// each letter with the frequency it has in a real text of that length, then the planted words.
std::string DemoText();

}  // namespace quorel::mkdsf
