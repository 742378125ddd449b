// SPDX-License-Identifier: GPL-3.0-or-later
// The options every command-line program answers the same way: -h and --help, --version, and a
// usage error that says what was wrong before the usage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_runner.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using test::ProgramOutcome;

struct OptionCase {
  const char* program;
  std::vector<std::string> arguments;
  int status;
  std::string out_start;  // what stdout starts with
  std::string err_start;  // what stderr starts with
};

const std::string kSearchUsage =
    "usage: quorel-search [--both] [--fold-finals] [--area | --json | --count | --refs]\n";
const std::string kMkdsfUsage =
    "usage: quorel-mkdsf [--mc] [--strip-refs] [--force] [--truncate] INPUT [OUTPUT]\n";
const std::string kWord = "\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9";

std::vector<OptionCase> OptionCases() {
  const char* search = QUOREL_SEARCH_PROGRAM;
  const char* mkdsf = QUOREL_MKDSF_PROGRAM;
  return {
      {search, {"-h"}, 0, kSearchUsage, ""},
      {search, {"--help"}, 0, kSearchUsage, ""},
      {search, {"--version"}, 0, "quorel-search " QUOREL_VERSION "\n", ""},
      {search, {kWord, "2", "20", "--help"}, 0, kSearchUsage, ""},
      {search, {}, 2, "", "quorel-search: WORD, MIN and MAX are missing\n" + kSearchUsage},
      {search, {kWord}, 2, "", "quorel-search: MIN and MAX are missing\n" + kSearchUsage},
      {search, {kWord, "2"}, 2, "", "quorel-search: MAX is missing\n" + kSearchUsage},
      {search, {"-x", "2", "20"}, 2, "", "quorel-search: unknown option -x\n" + kSearchUsage},
      {search, {"--bogus", kWord, "2", "20"}, 2, "", "quorel-search: unknown option --bogus\n"},
      {search, {kWord, "2", "20", "7"}, 2, "", "quorel-search: one argument too many: 7\n"},
      {search,
       {"--", kWord, "2", "20", "--area"},
       2,
       "",
       "quorel-search: one argument too many: --area\n"},
      {search,
       {"--json", "--count", kWord, "2", "20"},
       2,
       "",
       "quorel-search: choose one of --area, --json, --count and --refs\n"},
      {mkdsf, {"-h"}, 0, kMkdsfUsage, ""},
      {mkdsf, {"--help"}, 0, kMkdsfUsage, ""},
      {mkdsf, {"--version"}, 0, "quorel-mkdsf " QUOREL_VERSION "\n", ""},
      {mkdsf, {}, 2, "", "quorel-mkdsf: INPUT is missing\n" + kMkdsfUsage},
      {mkdsf, {"-x", "in.txt"}, 2, "", "quorel-mkdsf: unknown option -x\n" + kMkdsfUsage},
      {mkdsf, {"a", "b", "c"}, 2, "", "quorel-mkdsf: one argument too many: c\n"},
      {mkdsf,
       {"--demo", "a", "b"},
       2,
       "",
       "quorel-mkdsf: one argument too many: b (--demo takes no INPUT)\n"},
  };
}

TEST(ProgramOptions, HelpVersionAndUsageErrorsSayWhatTheyShould) {
  test::TempDir dir;
  for (const OptionCase& c : OptionCases()) {
    std::string shown = c.program;
    for (const std::string& argument : c.arguments) {
      shown += " " + argument;
    }
    SCOPED_TRACE(shown);
    const ProgramOutcome run = test::Run(test::Call(c.program, c.arguments, dir.path()));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out.substr(0, c.out_start.size()), c.out_start);
    EXPECT_EQ(run.err.substr(0, c.err_start.size()), c.err_start);
    if (c.status != 0) {
      EXPECT_EQ(run.out, "") << "a usage error writes nothing on stdout";
    } else {
      EXPECT_EQ(run.err, "") << "help and version write nothing on stderr";
    }
  }
}

// A WORD that starts with '-' is still a word after "--", and a skip of -5 is a skip, not an
// option: both reach the window's own checks.
TEST(ProgramOptions, DashesAfterTheOptionsAreArguments) {
  test::TempDir dir;
  dir.Write("Quorel.DSF", std::string(10, '\x80'));
  const ProgramOutcome word =
      test::Run(test::Call(QUOREL_SEARCH_PROGRAM, {"--", "-x", "2", "20"}, dir.path()));
  EXPECT_EQ(word.status, 1);
  EXPECT_EQ(word.err, "Target should be Hebrew only\n");
  const ProgramOutcome skip =
      test::Run(test::Call(QUOREL_SEARCH_PROGRAM, {kWord, "-5", "20"}, dir.path()));
  EXPECT_EQ(skip.status, 0);
  EXPECT_EQ(skip.err, "Min skip size must be numeric and positive - set to 2\nDone.\n");
}

}  // namespace
}  // namespace quorel
