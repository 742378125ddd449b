// SPDX-License-Identifier: GPL-3.0-or-later
// The perturbed families of a word: for each of the 125 triples (x, y, z), every sequence whose
// first k - 3 letters stand at equal skips and whose last three are moved by x, x + y and
// x + y + z. Positions here are 0-based; the letters are those of the text with final forms read
// as their regular letters, and so is the word.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorel {

// The shift of the last three letters: x moves the third letter from the end, y the second from
// the end further, z the last further still.
struct Perturbation {
  int x = 0;
  int y = 0;
  int z = 0;
};

inline constexpr int kPerturbationCount = 125;
// The index of (0, 0, 0), the real sequences.
inline constexpr int kRealPerturbation = 62;
// The smallest word the perturbation applies to: its last three letters are moved.
inline constexpr int kShortestPerturbedWord = 3;

// Index i = (x + 2) * 25 + (y + 2) * 5 + (z + 2), so the triples go from (-2, -2, -2) up.
constexpr Perturbation PerturbationAt(int index) {
  return {index / 25 - 2, index / 5 % 5 - 2, index % 5 - 2};
}
constexpr int PerturbationIndex(Perturbation t) {
  return (t.x + 2) * 25 + (t.y + 2) * 5 + (t.z + 2);
}

// One member of a family: its start and skip, and its plain extent, the lowest and highest of
// n, n + (k - 1) * d, taken as numbers whatever the perturbation (the plain start need not even
// lie in the text for a word of three letters).
struct Sequence {
  std::int64_t start = 0;
  std::int32_t skip = 0;
  std::int64_t low = 0;
  std::int64_t high = 0;
};

// A family, its members by increasing |skip|, and for one |skip| the negative skip first, then
// by increasing start.
using Family = std::vector<Sequence>;
using Families = std::array<Family, kPerturbationCount>;

// The positions of the letters of the t-perturbed sequence (n, d) of a word of k letters.
std::vector<std::int64_t> PerturbedPositions(std::int64_t start, std::int32_t skip, int k,
                                             Perturbation t);

// The sequence with start n and skip d of a word of k letters, with its plain extent.
Sequence PlainSequence(std::int64_t start, std::int32_t skip, int k);

// The 125 families of `word` (kShortestPerturbedWord letters or more) in `letters`, with
// 2 <= |skip| <= largest_skip. The first k - 3 letters are found with the fast scan when there
// are two or more of them; the last three are then tried at their 125 places.
Families PerturbedFamilies(std::u16string_view letters, std::u16string_view word,
                           std::int32_t largest_skip);

// The same families by the letter-by-letter test at every start: the reference for tests.
Families PerturbedFamiliesDirect(std::u16string_view letters, std::u16string_view word,
                                 std::int32_t largest_skip);

}  // namespace quorel
