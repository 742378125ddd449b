// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo_text.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "text/data_file_bytes.h"
#include "text/letter_text.h"

namespace quorel::mkdsf {
namespace {

constexpr auto kLength = static_cast<std::size_t>(TEXT_LENGTH);

// How often each letter stands in a real text of TEXT_LENGTH letters, in hundredths of a
// percent; the 27 shares add up to 100 percent.
struct LetterShare {
  char32_t letter;
  int hundredths_of_percent;
};
constexpr std::array<LetterShare, 27> kLetterShares = {{
    {U'\u05D9', 1034}, {U'\u05D5', 1001}, {U'\u05D4', 920}, {U'\u05D0', 888}, {U'\u05DC', 708},
    {U'\u05E8', 595},  {U'\u05EA', 589},  {U'\u05D1', 536}, {U'\u05E9', 512}, {U'\u05DE', 475},
    {U'\u05E2', 369},  {U'\u05DD', 349},  {U'\u05E0', 324}, {U'\u05DB', 282}, {U'\u05D7', 236},
    {U'\u05D3', 231},  {U'\u05E7', 154},  {U'\u05DF', 140}, {U'\u05E4', 130}, {U'\u05DA', 110},
    {U'\u05E6', 96},   {U'\u05D6', 72},   {U'\u05D2', 69},  {U'\u05E1', 60},  {U'\u05D8', 59},
    {U'\u05E5', 34},   {U'\u05E3', 27},
}};
constexpr int kWholeShare = 10000;

constexpr PlantedWord kPlantedWords[] = {
    // zayin he, tet qof samekh tet, he dalet gimel mem he: "this is a demo text"
    {U"\u05D6\u05D4 \u05D8\u05E7\u05E1\u05D8 \u05D4\u05D3\u05D2\u05DE\u05D4",
     U"\u05D6\u05D4\u05D8\u05E7\u05E1\u05D8\u05D4\u05D3\u05D2\u05DE\u05D4", 1, 1},
    // het vav pe shin: the word the window starts with, at a skip its first search tries
    {U"\u05D7\u05D5\u05E4\u05E9", U"\u05D7\u05D5\u05E4\u05E9", 7, 10000},
    // zayin kaf resh vav final nun, rare enough letters that chance adds few finds of it
    {U"\u05D6\u05DB\u05E8\u05D5\u05DF", U"\u05D6\u05DB\u05E8\u05D5\u05E0", 13, 50000},
    // yod resh vav shin lamed yod final mem, at a larger skip
    {U"\u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DD", U"\u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DE",
     1234, 100000},
};

// SplitMix64: a small generator whose output is fixed by its seed alone, unlike the
// distributions of the standard library, which differ from one library to another.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A whole number from 0 to bound - 1, every value equally likely (rejection of the uneven
  // top end).
  std::uint64_t Below(std::uint64_t bound) {
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
    std::uint64_t value = 0;
    do {
      value = Next();
    } while (value >= limit);
    return value % bound;
  }

 private:
  std::uint64_t state_;
};

// How many of the kLength letters each share comes to: the whole parts, then the letters left
// over to the largest remainders, ties to the more frequent letter.
std::array<std::size_t, kLetterShares.size()> LetterCounts() {
  std::array<std::size_t, kLetterShares.size()> counts{};
  std::array<std::size_t, kLetterShares.size()> remainders{};
  std::size_t given = 0;
  for (std::size_t k = 0; k < kLetterShares.size(); ++k) {
    const std::size_t scaled = kLength * kLetterShares[k].hundredths_of_percent;
    counts[k] = scaled / kWholeShare;
    remainders[k] = scaled % kWholeShare;
    given += counts[k];
  }
  std::array<std::size_t, kLetterShares.size()> order{};
  for (std::size_t k = 0; k < order.size(); ++k) {
    order[k] = k;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return remainders[a] > remainders[b]; });
  for (std::size_t k = 0; given < kLength; ++k, ++given) {
    ++counts[order[k]];
  }
  return counts;
}

std::string LetterPool() {
  const auto counts = LetterCounts();
  std::string pool;
  pool.reserve(kLength);
  for (std::size_t k = 0; k < kLetterShares.size(); ++k) {
    pool.append(counts[k], LetterByte(kLetterShares[k].letter));
  }
  return pool;
}

void Shuffle(std::string& letters, SplitMix64& random) {
  for (std::size_t k = letters.size() - 1; k > 0; --k) {
    std::swap(letters[k], letters[random.Below(k + 1)]);
  }
}

void Plant(const PlantedWord& word, std::string& letters) {
  for (std::size_t k = 0; k < word.letters.size(); ++k) {
    const std::size_t position = word.position + k * word.skip;
    letters[position - 1] = LetterByte(word.letters[k]);
  }
}

}  // namespace

std::span<const PlantedWord> DemoPlantedWords() {
  return kPlantedWords;
}

std::string DemoText() {
  std::string letters = LetterPool();
  SplitMix64 random(kDemoSeed);
  Shuffle(letters, random);
  for (const PlantedWord& word : kPlantedWords) {
    Plant(word, letters);
  }
  return letters;
}

}  // namespace quorel::mkdsf
