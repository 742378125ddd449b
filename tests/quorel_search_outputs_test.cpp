// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of quorel-search's scripting outputs, --json and --count, and of the first
// search a newcomer makes in the demo text.
#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"
#include "temp_dir.h"
#include "text/letter_text.h"

namespace quorel {
namespace {

using test::DataFileBytes;
using test::ProgramOutcome;
using test::TempDir;

const std::string kAlefBet = "\xD7\x90\xD7\x91";
const std::string kDalet = "\xD7\x93";

ProgramOutcome Search(const TempDir& dir, const std::string& arguments) {
  return test::Run(test::Call(QUOREL_SEARCH_PROGRAM, test::Words(arguments), dir.path()));
}

// alef-bet at skip 2 from position 1, then dalets; the rest of the text blank.
void WriteSmallText(const TempDir& dir) {
  dir.Write("Quorel.DSF", DataFileBytes(u"\u05D0\u05D3\u05D1\u05D3\u05D3"));
}

TEST(QuorelSearchOutputs, JsonWritesOneObjectPerFindAndKeepsStderrAndExitStatus) {
  TempDir dir;
  WriteSmallText(dir);
  const ProgramOutcome run = Search(dir, "--json " + kAlefBet + " 1 3");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "{\"skip\":2,\"position\":1,\"letters\":\"" + kAlefBet + "\",\"line\":\" " +
                         kAlefBet + " " + kDalet + "         \"}\n");
  EXPECT_EQ(run.err, "Done.\n");

  const ProgramOutcome refused = Search(dir, "--json abc 0 3");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(
      refused.err,
      "Min skip size must be numeric and positive - set to 2\nTarget should be Hebrew only\n");
}

TEST(QuorelSearchOutputs, CountWritesFindsPerSkipBesideTheNumberExpectedByChance) {
  TempDir dir;
  WriteSmallText(dir);
  const ProgramOutcome run = Search(dir, "--count " + kAlefBet + " 1 3");
  EXPECT_EQ(run.status, 0);
  // The file held 5 letters, one alef and one bet among them: at skip k the word fits at
  // 5 - k start positions within them, each with the chance 1/5 * 1/5.
  const std::string expected =
      "skip\tfinds\texpected\n1\t0\t0.16\n2\t1\t0.12\n3\t0\t0.08\nall\t1\t0.36\n";
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.err, "Done.\n");
}

TEST(QuorelSearchOutputs, OnlyOneOutputChoiceAtATime) {
  TempDir dir;
  WriteSmallText(dir);
  for (const std::string options :
       {"--json --count", "--area --json", "--count --area", "--refs --json", "--area --refs"}) {
    const ProgramOutcome run = Search(dir, options + " " + kAlefBet + " 1 3");
    EXPECT_EQ(run.status, 2) << options;
    EXPECT_EQ(run.out, "") << options;
  }
  EXPECT_EQ(Search(dir, "--json").status, 2);
  EXPECT_EQ(Search(dir, "--count " + kAlefBet + " 1 3").status, 0);
}

TEST(QuorelSearchOutputs, CountsBothDirectionsAndFoldedLetterShares) {
  TempDir dir;
  // alef, bet, dalet, final mem, mem: alef-mem at skip 3 folded, bet-alef backwards at 1.
  dir.Write("Quorel.DSF", DataFileBytes(u"\u05D0\u05D1\u05D3\u05DD\u05DE"));
  const ProgramOutcome both = Search(dir, "--both --count \xD7\x91\xD7\x90 1 2");
  EXPECT_EQ(both.out,
            "skip\tfinds\texpected\n-1\t1\t0.16\n1\t0\t0.16\n-2\t0\t0.12\n2\t0\t0.12\n"
            "all\t1\t0.56\n");
  const ProgramOutcome folded = Search(dir, "--fold-finals --count \xD7\x90\xD7\x9E 3 3");
  // mem is 2 of the 5 letters once the final form is read as mem.
  EXPECT_EQ(folded.out, "skip\tfinds\texpected\n3\t1\t0.16\nall\t1\t0.16\n");
  EXPECT_EQ(Search(dir, "--count \xD7\x90\xD7\x9E 3 3").out,
            "skip\tfinds\texpected\n3\t0\t0.08\nall\t0\t0.08\n");
}

// The verse index beside the data file names the verses in --refs and --json; one that does not
// fit the file is refused in one sentence and the search goes on without it.
TEST(QuorelSearchOutputs, RefsAndJsonNameTheVersesOfAFittingIndex) {
  TempDir dir;
  WriteSmallText(dir);
  dir.Write("Quorel.verses", "Genesis 1 1 1\nGenesis 1 2 3\n");
  const ProgramOutcome refs = Search(dir, "--refs " + kAlefBet + " 1 3");
  EXPECT_EQ(refs.status, 0);
  EXPECT_EQ(refs.out, "2\t1\tGenesis 1:1\tGenesis 1:2\n");
  const ProgramOutcome json = Search(dir, "--json " + kAlefBet + " 2 2");
  EXPECT_NE(json.out.find(",\"from\":\"Genesis 1:1\",\"to\":\"Genesis 1:2\"}\n"), std::string::npos)
      << json.out;

  dir.Write("Quorel.verses", "Genesis 1 1 1\nGenesis 1 2 9\n");
  const ProgramOutcome refused = Search(dir, "--refs " + kAlefBet + " 2 2");
  EXPECT_EQ(refused.status, 0);
  EXPECT_EQ(refused.out, "2\t1\n");
  EXPECT_EQ(refused.err,
            "The verse index Quorel.verses was not used: line 2 puts a verse at position 9, past "
            "the data file's 5 letters.\nDone.\n");
  EXPECT_EQ(Search(dir, kAlefBet + " 2 2").out, Search(dir, "--both " + kAlefBet + " 2 2").out)
      << "the result text says nothing of verses";
}

TEST(QuorelSearchOutputs, TheFirstSearchInTheDemoTextFindsThePlantedWord) {
  TempDir dir;
  ASSERT_EQ(test::Run(test::Call(QUOREL_MKDSF_PROGRAM, {"--demo"}, dir.path())).status, 0);
  const std::string word = "\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9";  // the window's starting word

  const ProgramOutcome json = Search(dir, "--json " + word + " 2 20");
  EXPECT_EQ(json.status, 0);
  EXPECT_NE(json.out.find("{\"skip\":7,\"position\":10000,\"letters\":\"" + word + "\""),
            std::string::npos)
      << json.out;

  const ProgramOutcome count = Search(dir, "--count " + word + " 2 20");
  EXPECT_EQ(count.status, 0);
  EXPECT_NE(count.out.find("\n7\t"), std::string::npos);
  EXPECT_NE(count.out.find("\nall\t8\t"), std::string::npos) << count.out;
}

}  // namespace
}  // namespace quorel
