// SPDX-License-Identifier: GPL-3.0-or-later
// The field's readings on the real text: the verse index of the five Michigan-Claremont books,
// finds read in both directions and with final forms folded, each placed verse by verse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "scan/direct_scan.h"
#include "temp_dir.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "text/utf.h"
#include "text/verse_index.h"

namespace quorel {
namespace {

using test::TempDir;

const std::filesystem::path kData = QUOREL_SHARED_DATA;
const char* const kBooks[] = {"genesis", "exodus", "leviticus", "numbers", "deuteronomy"};
const char* const kBookNames[] = {"Genesis", "Exodus", "Leviticus", "Numbers", "Deuteronomy"};
const std::string kTorah = "\xD7\xAA\xD7\x95\xD7\xA8\xD7\x94";  // tav vav resh he

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The Hebrew letter (regular form) of a Michigan-Claremont consonant, or 0: read here apart
// from the converter's own table.
char16_t McConsonant(char c) {
  static const std::string kConsonants = ")BGDHWZX+YKLMNS(PCQR$T";
  static const std::u16string kLetters =
      u"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5\u05D6\u05D7\u05D8\u05D9\u05DB\u05DC\u05DE\u05E0"
      u"\u05E1\u05E2\u05E4\u05E6\u05E7\u05E8\u05E9\u05EA";
  const std::size_t at = kConsonants.find(c);
  return at == std::string::npos ? 0 : kLetters[at];
}

// (skip, position) of every object of quorel-search --json, in output order.
std::vector<std::pair<int, int>> JsonFinds(const std::string& out) {
  std::vector<std::pair<int, int>> finds;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    int skip = 0;
    int position = 0;
    EXPECT_EQ(std::sscanf(line.c_str(), "{\"skip\":%d,\"position\":%d,", &skip, &position), 2)
        << line;
    finds.emplace_back(skip, position);
  }
  return finds;
}

class DirectionsRealText : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kData / "Quorel.DSF") || !std::filesystem::exists(kData / "mc")) {
      GTEST_SKIP() << "the real text or its Michigan-Claremont books are not in " << kData;
    }
    for (const char* book : kBooks) {
      mc_ += ReadAll(kData / "mc" / (std::string(book) + ".mc.txt"));
    }
    // cat mc/{genesis,...,deuteronomy}.mc.txt | quorel-mkdsf --mc - FOLDER
    test::Invocation make = test::Call(QUOREL_MKDSF_PROGRAM, {"--mc", "-", "."}, dir_.path());
    make.in = test::Stdin::Data(mc_);
    const test::ProgramOutcome made = test::Run(make);
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_EQ(ReadAll(dir_.path() / "Quorel.DSF"), ReadAll(kData / "Quorel.DSF"))
        << "the books make the real text, letter for letter";
    LoadResult load = LoadLetterText(dir_.path() / "Quorel.DSF");
    ASSERT_TRUE(load.text.has_value());
    text_ = std::move(*load.text);
    VerseIndexLoad index = LoadVerseIndex(dir_.path() / kVerseIndexFileName, text_.FileLength());
    ASSERT_EQ(index.failure, "");
    ASSERT_TRUE(index.index.has_value());
    index_ = std::move(*index.index);
  }

  test::ProgramOutcome Search(std::vector<std::string> arguments) {
    return test::Run(test::Call(QUOREL_SEARCH_PROGRAM, std::move(arguments), dir_.path()));
  }

  std::string VerseOf(std::int64_t position) const {
    const Verse* verse = index_.VerseAt(static_cast<std::int32_t>(position));
    return verse ? VerseReference(*verse) : "";
  }

  // The verse of each of the four letters of a find of a four-letter word.
  std::vector<std::string> VersesOfLetters(std::int64_t position, std::int64_t skip) const {
    std::vector<std::string> verses;
    for (std::int64_t j = 0; j < 4; ++j) {
      verses.push_back(VerseOf(position + j * skip));
    }
    return verses;
  }

  TempDir dir_;
  std::string mc_;
  LetterText text_;
  VerseIndex index_;
};

// Every line of mc/ is a verse; its row puts it where its letters start, and the letters from
// there on are the line's consonants.
TEST_F(DirectionsRealText, TheIndexPutsEveryVerseWhereItsLettersStart) {
  std::istringstream lines(mc_);
  std::size_t row = 0;
  std::int64_t position = 1;
  for (std::string line; std::getline(lines, line); ++row) {
    int book = 0;
    int chapter = 0;
    int verse = 0;
    int consumed = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %d %n", &book, &chapter, &verse, &consumed), 3);
    ASSERT_LT(row, index_.Verses().size());
    EXPECT_EQ(index_.Verses()[row],
              (Verse{kBookNames[book - 1], chapter, verse, static_cast<std::int32_t>(position)}))
        << line;
    for (const char c : line.substr(static_cast<std::size_t>(consumed))) {
      if (const char16_t letter = McConsonant(c)) {
        ASSERT_EQ(RegularLetter(text_.At(static_cast<std::int32_t>(position))), letter)
            << line << " at " << position;
        ++position;
      }
    }
  }
  EXPECT_EQ(row, index_.Verses().size());
  EXPECT_EQ(position, TEXT_LENGTH + 1);
  EXPECT_EQ(VerseOf(1), "Genesis 1:1");
  EXPECT_EQ(index_.Verses()[1533], (Verse{"Exodus", 1, 1, 78'065}));
}

// quorel-search --refs תורה 50 50: from the tav of Genesis 1:1 and from the first tav of Exodus.
TEST_F(DirectionsRealText, TorahAtFiftyFromGenesisAndFromExodus) {
  const test::ProgramOutcome run = Search({"--refs", kTorah, "50", "50"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("50\t6\tGenesis 1:1\tGenesis 1:5\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("50\t78072\tExodus 1:1\tExodus 1:6\n"), std::string::npos) << run.out;
  EXPECT_EQ(VersesOfLetters(6, 50),
            (std::vector<std::string>{"Genesis 1:1", "Genesis 1:2", "Genesis 1:4", "Genesis 1:5"}));
  EXPECT_EQ(VersesOfLetters(78'072, 50),
            (std::vector<std::string>{"Exodus 1:1", "Exodus 1:2", "Exodus 1:5", "Exodus 1:6"}));
  // The first tav of Exodus: none between its first letter and 78,072.
  const std::u16string_view letters = text_.Letters();
  EXPECT_EQ(letters.substr(78'064, 78'072 - 78'065).find(u'\u05EA'), std::u16string_view::npos);
  EXPECT_EQ(text_.At(78'072), u'\u05EA');
}

// quorel-search --both --refs תורה 49 50: read backwards, at -50 from Numbers 1:3 and at -49
// from Deuteronomy 1:8.
TEST_F(DirectionsRealText, TorahBackwardsInNumbersAndDeuteronomy) {
  const test::ProgramOutcome run = Search({"--both", "--refs", kTorah, "49", "50"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("-50\t186547\tNumbers 1:3\tNumbers 1:1\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("-49\t250339\tDeuteronomy 1:8\tDeuteronomy 1:5\n"), std::string::npos)
      << run.out;
  EXPECT_EQ(VersesOfLetters(186'547, -50),
            (std::vector<std::string>{"Numbers 1:3", "Numbers 1:2", "Numbers 1:1", "Numbers 1:1"}));
  EXPECT_EQ(VersesOfLetters(250'339, -49),
            (std::vector<std::string>{"Deuteronomy 1:8", "Deuteronomy 1:7", "Deuteronomy 1:6",
                                      "Deuteronomy 1:5"}));

  const test::ProgramOutcome json = Search({"--both", "--json", kTorah, "50", "50"});
  EXPECT_NE(json.out.find("{\"skip\":-50,\"position\":186547,\"letters\":\"" + kTorah + "\""),
            std::string::npos);
  EXPECT_NE(json.out.find(",\"from\":\"Numbers 1:3\",\"to\":\"Numbers 1:1\"}\n"),
            std::string::npos);
}

// אלהים of Genesis 1:1 ends in a final mem: the prepared word's mem finds it only folded.
TEST_F(DirectionsRealText, AWordEndingInAFinalFormIsFoundOnlyFolded) {
  const std::string elohim = "\xD7\x90\xD7\x9C\xD7\x94\xD7\x99\xD7\x9D";
  const test::ProgramOutcome plain = Search({"--json", elohim, "1", "1"});
  const test::ProgramOutcome folded = Search({"--fold-finals", "--json", elohim, "1", "1"});
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(folded.status, 0);
  const std::vector<std::pair<int, int>> plain_finds = JsonFinds(plain.out);
  const std::vector<std::pair<int, int>> folded_finds = JsonFinds(folded.out);
  EXPECT_EQ(std::count(plain_finds.begin(), plain_finds.end(), std::pair{1, 10}), 0);
  EXPECT_EQ(std::count(folded_finds.begin(), folded_finds.end(), std::pair{1, 10}), 1);
  EXPECT_GT(folded_finds.size(), plain_finds.size() + 100);
  EXPECT_NE(folded.out.find("{\"skip\":1,\"position\":10,\"letters\":\"" + elohim +
                            "\",\"line\":\"\xD7\x91\xD7\xA8\xD7\x90\xD7\xA9\xD7\x99\xD7\xAA"),
            std::string::npos)
      << "the text's own letters, final mem and all";
  EXPECT_NE(folded.out.find(",\"from\":\"Genesis 1:1\",\"to\":\"Genesis 1:1\"}"),
            std::string::npos);
}

// Every find of --both is the direct scan's, in both directions and in the documented order.
TEST_F(DirectionsRealText, BothDirectionsAreTheDirectScansFinds) {
  struct Case {
    std::string word;
    int min;
    int max;
    bool fold;
  };
  const Case cases[] = {
      {kTorah, 1, 300, false},
      {"\xD7\x9E\xD7\xA9\xD7\x94", 1, 120, false},               // משה
      {"\xD7\x9E\xD7\x9C\xD7\x9A", 1, 120, true},                // מלך, folded
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", 30000, 30480, true},  // שלום, large skips
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--both", "--json", c.word, std::to_string(c.min),
                                          std::to_string(c.max)};
    if (c.fold) {
      arguments.insert(arguments.begin(), "--fold-finals");
    }
    const test::ProgramOutcome run = Search(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::u16string target = FoldFinals(Utf8ToUtf16(c.word));
    const std::u16string letters =
        c.fold ? FoldFinals(text_.Letters()) : std::u16string(text_.Letters());
    std::vector<std::pair<int, int>> expected;
    for (int d = c.min; d <= c.max; ++d) {
      for (const int skip : {-d, d}) {
        std::vector<std::int32_t> finds;
        DirectScan(letters, target, skip, finds);
        for (const std::int32_t position : finds) {
          expected.emplace_back(skip, position);
        }
      }
    }
    EXPECT_EQ(JsonFinds(run.out), expected) << c.word;
    EXPECT_GT(expected.size(), 10u) << c.word;
  }
}

}  // namespace
}  // namespace quorel
