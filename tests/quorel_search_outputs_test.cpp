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
  // One alef and one bet in 304805 positions; skip k has 304805 - k start positions, so each
  // skip expects (304805 - k) / 304805^2 = 3.281e-6 finds, written without an exponent.
  EXPECT_EQ(run.out,
            "skip\tfinds\texpected\n1\t0\t0.000003281\n2\t1\t0.000003281\n3\t0\t0.000003281\n"
            "all\t1\t0.000009842\n");
  EXPECT_EQ(run.err, "Done.\n");
}

TEST(QuorelSearchOutputs, OnlyOneOutputChoiceAtATime) {
  TempDir dir;
  WriteSmallText(dir);
  for (const std::string options : {"--json --count", "--area --json", "--count --area"}) {
    const ProgramOutcome run = Search(dir, options + " " + kAlefBet + " 1 3");
    EXPECT_EQ(run.status, 2) << options;
    EXPECT_EQ(run.out, "") << options;
  }
  EXPECT_EQ(Search(dir, "--json").status, 2);
  EXPECT_EQ(Search(dir, "--count " + kAlefBet + " 1 3").status, 0);
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
