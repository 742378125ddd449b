// End-to-end checks of the quorel-search program: its output streams and its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "run_program.h"
#include "temp_dir.h"
#include "text/letter_text.h"

namespace quorel {
namespace {

using test::DataFileBytes;
using test::ProgramOutcome;
using test::ReadFile;
using test::RunSearchIn;
using test::TempDir;

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
  // interrupt arrives.
  const std::string command = "cd '" + dir.path().string() + "' && (timeout -s INT 1 '" +
                              QUOREL_SEARCH_PROGRAM +
                              "' \xD7\x90\xD7\x90 1 30480 | tail -c 200 >tail.txt) 2>err.txt";
  std::system(command.c_str());
  EXPECT_EQ(ReadFile(dir.path() / "err.txt"), "Aborted.\n");
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
