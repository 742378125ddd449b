// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-study distance and pairs as a user runs them: on small texts made here, and on the real
// Genesis where it is present.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>

#include "../temp_dir.h"
#include "run_study.h"
#include "study/largest_skip.h"
#include "study_texts.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "text/utf.h"

namespace quorel {
namespace {

using testing::ProgramOutcome;
using testing::RandomLetters;
using testing::ReadFile;
using testing::RunStudy;
using testing::TempDir;

const std::filesystem::path kRealText = QUOREL_SHARED_DATA "/Quorel.DSF";
// The Koren text of Genesis: the first letters of the real text.
constexpr std::size_t kGenesisLetters = 78064;

// The data-file bytes of letters alef..tav: 0x80 for alef, one up for each letter after it.
std::string DataFileBytes(std::u16string_view letters) {
  std::string bytes;
  for (const char16_t c : letters) {
    bytes.push_back(static_cast<char>(0x80 + (c - kAlef)));
  }
  return bytes;
}

// Runs quorel-study with `arguments` split at blanks.
ProgramOutcome Study(const TempDir& dir, const std::string& arguments) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < arguments.size()) {
    const std::size_t end = std::min(arguments.find(' ', at), arguments.size());
    if (end > at) {
      words.push_back(arguments.substr(at, end - at));
    }
    at = end + 1;
  }
  return RunStudy(dir.path(), words);
}

class SmallTextStudy : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("Quorel.DSF", DataFileBytes(RandomLetters(3000, 6, 11)));
    // Words of the text's first six letters: alef, bet, gimel, dalet, he, vav.
    dir_.Write("list.txt",
               "# a list of four pairs\n"
               "אבגד/אבגה  דהוא   # two forms of the first side\n"
               "בגדה       הואב\n"
               "\n"
               "גדהו  ואבג/ואבד\n"
               "דואב  אגבד\n");
  }
  TempDir dir_;
};

TEST_F(SmallTextStudy, DistancePrintsCAsAFraction) {
  const ProgramOutcome run = Study(dir_, "distance אבגד דהוא");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Text: 3000 letters"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\nc = "), std::string::npos) << run.out;
  const nlohmann::json json = nlohmann::json::parse(Study(dir_, "distance אבגד דהוא --json").out);
  EXPECT_EQ(json["triples"].size(), 125u);
  EXPECT_EQ(json["c"], std::to_string(json["at_least_real"].get<int>()) + "/" +
                           std::to_string(json["triples_in_M"].get<int>()));
}

TEST_F(SmallTextStudy, FinalFormsAreReadAsTheirLetters) {
  // Final mem is mem; the text has none of either, so the two spellings give the same output.
  EXPECT_EQ(Study(dir_, "distance אבגם דהוא").out, Study(dir_, "distance אבגמ דהוא").out);
}

TEST_F(SmallTextStudy, RefusesBadInputWithAReason) {
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"distance abcd דהוא", 1, "Target should be Hebrew only"},
      {"distance אב דהוא", 1, "shorter than 3 letters"},
      {"distance אבגד דהוא --family=3,0,0", 1, "--family takes three numbers"},
      {"distance אבגד", 2, "WORD2"},
      {"pairs missing.txt", 2, "cannot read the list"},
      {"pairs list.txt --shard 3/2", 1, "--shard"},
      {"distance אבגד דהוא --data missing.DSF", 2, "missing.DSF"},
      {"distance אבגד דהוא --min-triples 0", 2, "min-triples"},
  };
  for (const Case& c : cases) {
    const ProgramOutcome run = Study(dir_, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
  }
}

TEST_F(SmallTextStudy, RefusesABadListLineByItsNumber) {
  dir_.Write("bad.txt", "אבגד דהוא\nאבגד\n");
  const ProgramOutcome run = Study(dir_, "pairs bad.txt");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("line 2:"), std::string::npos) << run.err;
}

TEST_F(SmallTextStudy, SaysWhenTheDataFileIsMissing) {
  std::filesystem::remove(dir_.path() / "Quorel.DSF");
  const ProgramOutcome run = Study(dir_, "distance אבגד דהוא");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("Quorel.DSF"), std::string::npos) << run.err;
}

TEST_F(SmallTextStudy, PairsGivesEveryFormPairAndTheStatistics) {
  const ProgramOutcome run = Study(dir_, "pairs list.txt --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json json = nlohmann::json::parse(run.out);
  // 2 + 1 + 2 + 1 pairs of forms.
  EXPECT_EQ(json["pairs"].size(), 6u);
  EXPECT_EQ(json["pairs"][1]["first"], "אבגה");
  EXPECT_EQ(json["pairs"][1]["line"], 2);
  EXPECT_FALSE(json.contains("permutations"));
}

TEST_F(SmallTextStudy, SameSeedSameOutputWhateverTheThreads) {
  const ProgramOutcome one = Study(dir_, "pairs list.txt --permutations 2000 --seed 5 --threads 1");
  const ProgramOutcome two = Study(dir_, "pairs list.txt --permutations 2000 --seed 5 --threads 2");
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_NE(one.out.find("P1 rank: "), std::string::npos) << one.out;
  EXPECT_NE(one.out.find("of 2001"), std::string::npos) << one.out;
}

TEST_F(SmallTextStudy, ShardsMergeToTheSameReport) {
  const std::string options = " --permutations 500 --seed 2";
  const ProgramOutcome whole = Study(dir_, "pairs list.txt" + options);
  ASSERT_EQ(whole.status, 0) << whole.err;
  for (const int k : {1, 2, 3}) {
    const ProgramOutcome shard =
        Study(dir_, "pairs list.txt --shard " + std::to_string(k) + "/3" + options);
    ASSERT_EQ(shard.status, 0) << shard.err;
    dir_.Write("shard" + std::to_string(k) + ".json", shard.out);
  }
  const ProgramOutcome merged =
      Study(dir_, "pairs list.txt --merge shard1.json shard2.json shard3.json" + options);
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(merged.out, whole.out);
  // A missing part, or parts made for another choice of permutations, are refused.
  const ProgramOutcome missing = Study(dir_, "pairs list.txt --merge shard1.json" + options);
  EXPECT_EQ(missing.status, 4);
  EXPECT_NE(missing.err.find("shard 2/3 is missing"), std::string::npos) << missing.err;
  const ProgramOutcome other = Study(dir_, "pairs list.txt --merge shard1.json shard2.json");
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("another list"), std::string::npos) << other.err;
}

TEST_F(SmallTextStudy, AFullDiskIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full on this machine";
  }
  const ProgramOutcome run =
      RunStudy(dir_.path(), {"distance", "אבגד", "דהוא", "--json"}, "/dev/full");
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("cannot write the output"), std::string::npos) << run.err;
}

TEST_F(SmallTextStudy, AnInterruptedStudyNeverReadsAsComplete) {
  const ProgramOutcome run =
      RunStudy(dir_.path(), {"pairs", "list.txt", "--permutations", "1000000000000"}, {}, 1500);
  EXPECT_EQ(run.status, 130) << run.err;
  // Stopped among the distances: nothing reported; among the re-pairings: the ranks say so.
  if (run.out.empty()) {
    EXPECT_NE(run.err.find("no distance or statistic was reported"), std::string::npos) << run.err;
  } else {
    EXPECT_NE(run.out.find("INTERRUPTED"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("the ranks above are of those only"), std::string::npos) << run.err;
  }
}

// The published domains of the family (-2, -2, -2) of מתניה in Genesis, 0-based.
TEST(GenesisStudy, ReproducesThePublishedDomainsOfMatanyahu) {
  if (!std::filesystem::exists(kRealText)) {
    GTEST_SKIP() << "the real text is not at " << kRealText;
  }
  TempDir dir;
  dir.Write("Quorel.DSF", ReadFile(kRealText).substr(0, kGenesisLetters));
  const ProgramOutcome run = Study(dir, "distance מתניה משה --json --family=-2,-2,-2");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["letters"], kGenesisLetters);
  EXPECT_EQ(json["words"][0]["largest_skip"], 36);
  using Row = std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t>;
  std::set<Row> rows;
  for (const nlohmann::json& member : json["family"]["members"][0]) {
    ASSERT_FALSE(member["domain"].is_null());
    rows.insert({member["start"].get<std::int64_t>(), member["skip"].get<std::int64_t>(),
                 member["domain"][0].get<std::int64_t>(), member["domain"][1].get<std::int64_t>()});
  }
  const std::set<Row> published = {
      {7675, -24, 0, 11299},      {11247, 13, 0, 12217},     {12197, 5, 0, 78064},
      {17451, 13, 12197, 78064},  {43802, 33, 17451, 46903}, {46839, 16, 17451, 78064},
      {59073, -22, 46839, 78064}, {70939, 24, 58985, 78064},
  };
  EXPECT_EQ(rows, published);
}

TEST(GenesisStudy, LargestSkipOfMatanyahuIs36) {
  if (!std::filesystem::exists(kRealText)) {
    GTEST_SKIP() << "the real text is not at " << kRealText;
  }
  const LoadResult loaded = LoadLetterText(kRealText);
  ASSERT_TRUE(loaded.text) << loaded.failure;
  const std::u16string genesis = FoldFinals(loaded.text->FileLetters().substr(0, kGenesisLetters));
  const LetterCounts counts = LetterCounts::Of(genesis);
  const std::u16string word = u"מתניה";
  // The published E(35) = 9.97 and E(36) = 10.26.
  EXPECT_NEAR(ExpectedSequences(counts, word, 35), 9.97, 0.005);
  EXPECT_NEAR(ExpectedSequences(counts, word, 36), 10.26, 0.005);
  EXPECT_EQ(LargestSkip(counts, word), 36);
}

}  // namespace
}  // namespace quorel
