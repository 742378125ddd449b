// Control texts: the letters of the real text in another order, so that a search can be tried on
// texts that keep what the real one is made of but not how it is arranged.
//
// Both kinds are Fisher-Yates shuffles driven by ControlRandom(seed, control index): for i from
// the last element down to the second, element i is swapped with element Below(i + 1). The same
// seed and index give the same text on every machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

enum class ControlKind {
  kLetters,  // every letter shuffled
  kVerses,   // whole verses shuffled, the letters inside each kept in order
};

// "letters" or "verses".
std::string_view ControlKindName(ControlKind kind);
std::optional<ControlKind> ControlKindNamed(std::string_view name);

// What a control text is made from: the letters of the text, and for verse shuffles the 0-based
// offset at which each verse starts, strictly increasing. Letters before the first verse stay
// where they are, in front.
struct ControlSource {
  std::u16string_view letters;
  ControlKind kind = ControlKind::kLetters;
  std::vector<std::int32_t> verse_starts;  // only for kVerses
};

// Writes control text `control_index` of `seed` into `out` (resized to the letters' length).
void MakeControlText(const ControlSource& source, std::uint64_t seed, std::uint64_t control_index,
                     std::u16string& out);

}  // namespace quorel
