// SPDX-License-Identifier: GPL-3.0-or-later
// The demo text that newcomers search first, and what the README promises of it.
#include "tools/mkdsf/demo_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "scan/scanner.h"
#include "search/target_word.h"
#include "text/letter_text.h"

namespace quorel::mkdsf {
namespace {

std::u16string U16(std::u32string_view text) {
  return std::u16string(text.begin(), text.end());
}

LetterText Loaded(const std::string& bytes) {
  std::string failure;
  std::optional<LetterText> text = LetterTextFromBytes(bytes, failure);
  EXPECT_TRUE(text.has_value()) << failure;
  return text ? std::move(*text) : LetterText();
}

std::vector<std::int32_t> FindsAt(const LetterText& text, std::u32string_view word,
                                  std::int32_t skip) {
  const std::u16string target = U16(word);
  std::vector<std::int32_t> finds;
  Scanner(text.Letters(), target).FindsAtSkip(skip, finds);
  return finds;
}

TEST(DemoText, IsTheSameCompleteTextOfLetterBytesEveryTime) {
  const std::string text = DemoText();
  EXPECT_EQ(text, DemoText());
  ASSERT_EQ(text.size(), std::size_t(TEXT_LENGTH));
  EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char byte) {
    return static_cast<unsigned char>(byte) >= 0x80 && static_cast<unsigned char>(byte) <= 0x9A;
  }));
}

TEST(DemoText, HoldsEachLetterWithTheFrequencyOfARealText) {
  // In hundredths of a percent, alef to tav with the final forms in their places.
  const std::map<char, int> shares = {
      {'\x80', 888}, {'\x81', 536}, {'\x82', 69},  {'\x83', 231},  {'\x84', 920}, {'\x85', 1001},
      {'\x86', 72},  {'\x87', 236}, {'\x88', 59},  {'\x89', 1034}, {'\x8A', 110}, {'\x8B', 282},
      {'\x8C', 708}, {'\x8D', 349}, {'\x8E', 475}, {'\x8F', 140},  {'\x90', 324}, {'\x91', 60},
      {'\x92', 369}, {'\x93', 27},  {'\x94', 130}, {'\x95', 34},   {'\x96', 96},  {'\x97', 154},
      {'\x98', 595}, {'\x99', 512}, {'\x9A', 589},
  };
  const std::string text = DemoText();
  std::size_t planted = 0;
  for (const PlantedWord& word : DemoPlantedWords()) {
    planted += word.letters.size();
  }
  for (const auto& [byte, share] : shares) {
    const double expected = TEXT_LENGTH * share / 10000.0;
    const auto count = static_cast<double>(std::count(text.begin(), text.end(), byte));
    // One letter of rounding, and the planted letters that replaced random ones.
    EXPECT_LE(std::abs(count - expected), 1.0 + static_cast<double>(planted))
        << std::hex << int(static_cast<unsigned char>(byte));
  }
}

TEST(DemoText, SaysWhatItIsFromItsFirstLetterOn) {
  const PlantedWord& label = DemoPlantedWords().front();
  EXPECT_EQ(label.skip, 1);
  EXPECT_EQ(label.position, 1);
  EXPECT_EQ(Loaded(DemoText()).Letters().substr(0, label.letters.size()), U16(label.letters));
}

TEST(DemoText, EveryPlantedWordIsFoundWhereItWasPlantedWhenTypedAsAUserTypesIt) {
  const LetterText text = Loaded(DemoText());
  for (const PlantedWord& word : DemoPlantedWords()) {
    const Preparation prepared = PrepareTargetText(U16(word.typed));
    ASSERT_TRUE(std::holds_alternative<std::u16string>(prepared));
    EXPECT_EQ(std::get<std::u16string>(prepared), U16(word.letters));
    const std::vector<std::int32_t> finds = FindsAt(text, word.letters, word.skip);
    EXPECT_NE(std::find(finds.begin(), finds.end(), word.position), finds.end())
        << "skip " << word.skip << ", position " << word.position;
  }
}

TEST(DemoText, SearchesGiveTheNumbersOfFindsTheReadmeNames) {
  const LetterText text = Loaded(DemoText());
  const auto planted = DemoPlantedWords();
  // The first search of a fresh window: the word it starts with, skips 2 to 20.
  EXPECT_EQ(planted[1].typed, U"\u05D7\u05D5\u05E4\u05E9");
  struct Case {
    const PlantedWord& word;
    std::int32_t min_skip;
    std::int32_t max_skip;
    std::size_t finds;
  };
  const Case cases[] = {
      {planted[1], 2, 20, 8},
      {planted[2], 2, 20, 1},
      {planted[3], 1000, 1500, 2},
      {planted[0], 1, 1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_GE(c.word.skip, c.min_skip);
    EXPECT_LE(c.word.skip, c.max_skip);
    std::size_t finds = 0;
    for (std::int32_t skip = c.min_skip; skip <= c.max_skip; ++skip) {
      finds += FindsAt(text, c.word.letters, skip).size();
    }
    EXPECT_EQ(finds, c.finds) << "skip " << c.word.skip;
  }
}

}  // namespace
}  // namespace quorel::mkdsf
