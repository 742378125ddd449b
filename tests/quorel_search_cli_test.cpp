// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of the quorel-search program: its output streams and its exit status.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "program_runner.h"
#include "temp_dir.h"
#include "text/letter_text.h"

namespace quorel {
namespace {

test::ProgramOutcome RunSearchIn(const std::filesystem::path& folder,
                                 const std::string& arguments) {
  return test::Run(test::Call(QUOREL_SEARCH_PROGRAM, test::Words(arguments), folder));
}

using test::DataFileBytes;
using test::ProgramOutcome;
using test::TempDir;

// The skip and position of every find in a result text.
std::vector<std::pair<int, int>> HeadersOf(const std::string& result) {
  std::vector<std::pair<int, int>> finds;
  int skip = 0;
  int position = 0;
  for (std::size_t at = 0; (at = result.find("Skip: ", at)) != std::string::npos; ++at) {
    // A copy of the header alone: sscanf measures the whole string it is given.
    const std::string header = result.substr(at, 64);
    std::sscanf(header.c_str(), "Skip: %d\r\nPosition: %d", &skip, &position);
    finds.emplace_back(skip, position);
  }
  return finds;
}

// alef-bet at skip 2 from position 1.
std::string SmallText() {
  return DataFileBytes(u"\u05D0\u05D3\u05D1\u05D3\u05D3");
}

TEST(QuorelSearchCli, PrintsTheResultOnStdoutAndTheStatusOnStderr) {
  TempDir dir;
  dir.Write("Quorel.DSF", SmallText());
  const ProgramOutcome outcome = RunSearchIn(dir.path(), "\xD7\x90\xD7\x91 1 3");
  EXPECT_EQ(outcome.status, 0);
  // Past the file's five bytes the text is blank.
  EXPECT_EQ(outcome.out, "Skip: 2\r\nPosition: 1 of 304805\r\nResult:  \xD7\x90\xD7\x91 \xD7\x93" +
                             std::string(9, ' ') + "\r\n\r\n");
  EXPECT_EQ(outcome.err, "Done.\n");
}

TEST(QuorelSearchCli, AreaOptionChoosesTheAreaView) {
  TempDir dir;
  dir.Write("Quorel.DSF", SmallText());
  const ProgramOutcome outcome = RunSearchIn(dir.path(), "--area \xD7\x90\xD7\x91 2 2");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("\r\n\r\n\r\n\xD7\x90   "), std::string::npos);
}

TEST(QuorelSearchCli, ExitStatusTellsHowTheRunEnded) {
  TempDir dir;
  dir.Write("Quorel.DSF", SmallText());

  const ProgramOutcome refused = RunSearchIn(dir.path(), "abc 0 20");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(
      refused.err,
      "Min skip size must be numeric and positive - set to 2\nTarget should be Hebrew only\n");
  EXPECT_EQ(refused.out, "");

  EXPECT_EQ(RunSearchIn(dir.path(), "onlyone").status, 2);
  EXPECT_EQ(RunSearchIn(dir.path(), "--bogus a 1 2").status, 2);

  std::filesystem::remove(dir.path() / "Quorel.DSF");
  const ProgramOutcome missing = RunSearchIn(dir.path(), "\xD7\x90\xD7\x91 1 3");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("Quorel.DSF in the folder"), std::string::npos) << missing.err;
}

TEST(QuorelSearchCli, InterruptStopsTheRunKeepingItsFinds) {
  TempDir dir;
  dir.Write("Quorel.DSF", std::string(TEXT_LENGTH, '\x80'));
  // Every start position is a find at every skip: far more than can be written before the
  // interrupt arrives, which it does while skip 1 is being written.
  test::RunningProgram run(
      test::Call(QUOREL_SEARCH_PROGRAM, {"\xD7\x90\xD7\x90", "1", "30480"}, dir.path()));
  ASSERT_TRUE(run.WaitUntilStdoutHolds(4096));
  run.Signal(SIGINT);
  const ProgramOutcome outcome = run.Finish();
  EXPECT_EQ(outcome.status, 130);
  EXPECT_EQ(outcome.err, "Aborted.\n");
  // The run stops at its next poll, after skip 1: the finds written are all those of skip 1,
  // each at the next start position, and each whole.
  const std::vector<std::pair<int, int>> finds = HeadersOf(outcome.out);
  ASSERT_EQ(finds.size(), std::size_t(TEXT_LENGTH - 1));
  for (std::size_t k = 0; k < finds.size(); ++k) {
    ASSERT_EQ(finds[k], std::make_pair(1, static_cast<int>(k) + 1)) << k;
  }
  std::size_t views = 0;
  for (std::size_t at = 0; (at = outcome.out.find("\r\nResult: ", at)) != std::string::npos; ++at) {
    ++views;
  }
  EXPECT_EQ(views, finds.size());
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - 4), "\r\n\r\n");
}

TEST(QuorelSearchCli, FindsTheSevenFindsOfTheRealText) {
  const std::filesystem::path data = QUOREL_SHARED_DATA "/Quorel.DSF";
  if (!std::filesystem::exists(data)) {
    GTEST_SKIP() << "the real text is not at " << data;
  }
  TempDir dir;
  std::filesystem::copy_file(data, dir.path() / "Quorel.DSF");
  const ProgramOutcome outcome = RunSearchIn(dir.path(), "\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9 2 20");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "Done.\n");
  std::size_t finds = 0;
  for (std::size_t at = 0; (at = outcome.out.find("Skip: ", at)) != std::string::npos; ++at) {
    ++finds;
  }
  EXPECT_EQ(finds, 7u);
}

}  // namespace
}  // namespace quorel
