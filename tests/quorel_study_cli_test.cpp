// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of quorel-study on small texts made here: shards run side by side and merged
// give what one run gives, and bad input, full disks and Ctrl-C are reported as such.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "program_runner.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using test::Call;
using test::ProgramOutcome;
using test::RunningProgram;
using test::TempDir;
using test::Words;

constexpr char16_t kAlefBet[] = u"אבגדהוזחטיכלמנסעפצקרשת";
const std::string kProgram = QUOREL_STUDY_PROGRAM;
// שלום and אמת in UTF-8.
const std::string kShalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
const std::string kEmet = "\xD7\x90\xD7\x9E\xD7\xAA";

// A folder with Quorel.DSF: `length` random letters.
void WriteRandomText(const TempDir& dir, std::size_t length) {
  std::mt19937 random(2024);
  std::u16string letters(length, u' ');
  for (char16_t& c : letters) {
    c = kAlefBet[random() % 22];
  }
  dir.Write("Quorel.DSF", test::DataFileBytes(letters));
}

test::Invocation StudyCall(const TempDir& dir, const std::string& arguments) {
  return Call(kProgram, Words(arguments), dir.path());
}

ProgramOutcome Study(const TempDir& dir, const std::string& arguments) {
  return test::Run(StudyCall(dir, arguments));
}

TEST(QuorelStudyCli, FourShardsSideBySideMergeIntoOneRun) {
  TempDir dir;
  WriteRandomText(dir, 20000);
  const std::vector<std::string> studies = {
      "count --both --controls 41 --seed 9 " + kEmet + " 1 300",
      "pair --controls 23 " + kShalom + " " + kEmet + " --min 2 --max 150",
  };
  for (const std::string& study : studies) {
    for (const std::string output : {"", " --json"}) {
      const ProgramOutcome one = Study(dir, study + output);
      ASSERT_EQ(one.status, 0) << one.err;
      std::vector<std::unique_ptr<RunningProgram>> shards;
      for (int part = 1; part <= 4; ++part) {
        shards.push_back(std::make_unique<RunningProgram>(
            StudyCall(dir, study + " --threads 1 --shard " + std::to_string(part) + "/4 -o part" +
                               std::to_string(part) + ".json")));
      }
      for (const std::unique_ptr<RunningProgram>& shard : shards) {
        const ProgramOutcome done = shard->Finish();
        ASSERT_EQ(done.status, 0) << done.err;
      }
      const ProgramOutcome merged =
          Study(dir, "merge" + output + " part3.json part1.json part4.json part2.json");
      EXPECT_EQ(merged.status, 0) << merged.err;
      EXPECT_EQ(merged.out, one.out);
      EXPECT_EQ(merged.err, "");
    }
  }
}

TEST(QuorelStudyCli, AShardWritesItsPartialToStdout) {
  TempDir dir;
  WriteRandomText(dir, 5000);
  const ProgramOutcome shard = Study(dir, "count --controls 10 --shard 2/2 " + kEmet + " 1 50");
  EXPECT_EQ(shard.status, 0) << shard.err;
  EXPECT_EQ(shard.out.rfind("{\"controls\":10,", 0), 0U) << shard.out;
  EXPECT_NE(shard.out.find("\"shard\":\"2/2\""), std::string::npos);
  EXPECT_NE(shard.out.find("\"first\":5,"), std::string::npos);
}

TEST(QuorelStudyCli, MergeSaysWhatIsMissingOrWrong) {
  TempDir dir;
  WriteRandomText(dir, 5000);
  const std::string study = "count --controls 8 " + kEmet + " 1 50";
  for (const std::string part : {"1", "2"}) {
    ASSERT_EQ(Study(dir, study + " --shard " + part + "/2 -o " + part + ".json").status, 0);
  }
  ASSERT_EQ(Study(dir, study + " --seed 2 --shard 2/2 -o other.json").status, 0);

  const ProgramOutcome half = Study(dir, "merge 1.json");
  EXPECT_EQ(half.status, 4);
  EXPECT_EQ(half.out.rfind("INCOMPLETE (4 of 8 controls done", 0), 0U) << half.out;
  EXPECT_NE(half.err.find("not a complete study"), std::string::npos);

  struct Case {
    std::string files;
    std::string message;
  };
  const Case cases[] = {
      {"1.json 1.json", "quorel-study: 1.json: control 0 lies in two parts\n"},
      {"1.json other.json", "quorel-study: other.json: the parts are not of the same study"},
      {"missing.json", "quorel-study: could not open missing.json\n"},
      {"Quorel.DSF",
       "quorel-study: Quorel.DSF is not JSON: not a partial result of quorel-study\n"},
  };
  for (const Case& c : cases) {
    const ProgramOutcome run = Study(dir, "merge " + c.files);
    EXPECT_EQ(run.status, 2) << c.files;
    EXPECT_EQ(run.err.rfind(c.message, 0), 0U) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(QuorelStudyCli, BadInputGetsOneLine) {
  TempDir dir;
  WriteRandomText(dir, 5000);
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"", 2, "quorel-study: A subcommand is required (see quorel-study --help)\n"},
      {"count " + kEmet + " 1", 2, "quorel-study: MAX is required (see quorel-study --help)\n"},
      {"count abc 1 5", 1, "quorel-study: abc: Target should be Hebrew only\n"},
      {"count " + kEmet + " 0 5", 2,
       "quorel-study: MIN must be a whole number from 1 to 4999, not \"0\"\n"},
      {"count " + kEmet + " 6 5", 2,
       "quorel-study: MAX must be a whole number from 6 to 4999, not \"5\"\n"},
      {"count " + kEmet + " 1 x5", 2,
       "quorel-study: MAX must be a whole number from 1 to 4999, not \"x5\"\n"},
      {"count --shard 5/4 " + kEmet + " 1 5", 2,
       "quorel-study: --shard 5/4: K must be from 1 to M\n"},
      {"count --controls 0 " + kEmet + " 1 5", 2, "quorel-study: --controls: Value 0 not in range"},
      {"count --kind words " + kEmet + " 1 5", 2,
       "quorel-study: --kind: words not in {letters,verses}"},
      {"count --kind verses " + kEmet + " 1 5", 2,
       "quorel-study: --kind verses needs the verse index Quorel.verses beside the data file"},
      {"count --data none.DSF " + kEmet + " 1 5", 2,
       "quorel-study: The letter text could not be loaded: none.DSF"},
      {"pair " + kEmet + " " + kEmet + " --min 3", 2,
       "quorel-study: --max is required (see quorel-study --help)\n"},
  };
  for (const Case& c : cases) {
    const ProgramOutcome run = Study(dir, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.err.rfind(c.message, 0), 0U) << c.arguments << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(QuorelStudyCli, ShufflesVersesWhenTheTextHasAVerseIndex) {
  TempDir dir;
  WriteRandomText(dir, 5000);
  std::string index;
  for (int verse = 1; verse <= 50; ++verse) {
    index += "Demo 1 " + std::to_string(verse) + " " + std::to_string(verse * 97 - 96) + "\n";
  }
  dir.Write("Quorel.verses", index);
  const ProgramOutcome run =
      Study(dir, "count --kind verses --controls 20 --json " + kEmet + " 1 50");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"kind\":\"verses\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"complete\":true"), std::string::npos) << run.out;
}

TEST(QuorelStudyCli, AWriteThatFailsIsReportedAsSuch) {
  TempDir dir;
  WriteRandomText(dir, 5000);
  const std::string study = "count --controls 5 " + kEmet + " 1 50";
  test::Invocation to_full_disk = StudyCall(dir, study);
  to_full_disk.out = test::Stdout::kDevFull;
  const ProgramOutcome full = test::Run(to_full_disk);
  EXPECT_EQ(full.status, 3);
  EXPECT_EQ(full.err,
            "quorel-study: could not write the result to stdout: No space left on device\n");
  const ProgramOutcome partial = Study(dir, study + " -o /dev/full");
  EXPECT_EQ(partial.status, 3);
  EXPECT_EQ(partial.err,
            "quorel-study: could not write the partial result to /dev/full: No space left on "
            "device\n");
  EXPECT_EQ(Study(dir, study + " -o no/such/folder.json").status, 3);
}

TEST(QuorelStudyCli, CtrlCReportsTheControlsDoneAsIncomplete) {
  TempDir dir;
  WriteRandomText(dir, 20000);
  RunningProgram study(StudyCall(dir, "count --both --controls 1000000 " + kEmet + " 1 5000"));
  std::this_thread::sleep_for(std::chrono::seconds(2));
  study.Signal(SIGINT);
  const ProgramOutcome run = study.Finish();
  EXPECT_EQ(run.status, 130);
  EXPECT_EQ(run.out.rfind("INCOMPLETE (", 0), 0U) << run.out;
  EXPECT_NE(run.out.find(" of 1000000 controls done"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("is not a complete study"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quorel
