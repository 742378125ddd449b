// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of quorel-matrix: the plain-text matrix, the pictures, and what it refuses
// and says, with data files made by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_run.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using testing::ProgramOutcome;
using testing::ReadFile;
using testing::TempDir;

// 300 letters: bet everywhere, and חופש (U+05D7 U+05D5 U+05E4 U+05E9) at skip 7 from 100.
std::u16string Text() {
  std::u16string text(300, u'\u05D1');
  const std::u16string word = u"\u05D7\u05D5\u05E4\u05E9";
  for (std::size_t j = 0; j < word.size(); ++j) {
    text[99 + 7 * j] = word[j];
  }
  return text;
}

const std::string kWord = "\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9";

class QuorelMatrixCli : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Write("Quorel.DSF", testing::DataFileBytes(Text())); }

  ProgramOutcome Matrix(const std::string& arguments) {
    return testing::RunProgram(dir_.path(), QUOREL_MATRIX_PROGRAM, arguments);
  }

  TempDir dir_;
};

TEST_F(QuorelMatrixCli, WritesTheMatrixAsTextWithTheFindInBrackets) {
  const ProgramOutcome run = Matrix("--rows 2 7 100 " + kWord);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string bet = " \xD7\x91 ";
  const std::string row_of_bets = bet + bet + bet + bet + bet + bet + bet;
  const std::string expected =
      kWord +
      ", skip 7, position 100\n"
      "rows of 7 letters, rows 1 to 8, columns 1 to 7 of 7; row 1 starts at position 83\n\n"
      "1  " +
      row_of_bets + "\n" + "2  " + row_of_bets + "\n" + "3  " + bet + bet + bet + "[\xD7\x97]" +
      bet + bet + bet + "\n" + "4  " + bet + bet + bet + "[\xD7\x95]" + bet + bet + bet + "\n" +
      "5  " + bet + bet + bet + "[\xD7\xA4]" + bet + bet + bet + "\n" + "6  " + bet + bet + bet +
      "[\xD7\xA9]" + bet + bet + bet + "\n" + "7  " + row_of_bets + "\n" + "8  " + row_of_bets +
      "\n" + "\n[ ] " + kWord + ", skip 7, position 100\n";
  // Trailing blanks of a row are left out.
  std::string trimmed;
  for (std::size_t start = 0; start < expected.size();) {
    std::size_t end = expected.find('\n', start);
    std::string line = expected.substr(start, end - start);
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    trimmed += line + "\n";
    start = end + 1;
  }
  EXPECT_EQ(run.out, trimmed);
}

TEST_F(QuorelMatrixCli, OtherWordsAreCountedAgainstChance) {
  // Two bets: the text is all bets but for the find, so they are found at nearly every skip.
  const ProgramOutcome run = Matrix("--rows 1 --also \xD7\x91\xD7\x91 7 100 " + kWord);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("( ) \xD7\x91\xD7\x91: "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(" expected by chance\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("(\xD7\x91)"), std::string::npos) << run.out;
}

TEST_F(QuorelMatrixCli, WritesPicturesInTheFormatAskedForOrNamed) {
  const struct {
    std::string arguments;
    std::string file;
    std::string starts;
  } cases[] = {
      {"--png", "a.out", "\x89PNG\r\n"}, {"", "b.png", "\x89PNG\r\n"},
      {"--svg", "c.out", "<?xml"},       {"", "d.SVG", "<?xml"},
      {"--pdf", "e.out", "%PDF-"},       {"", "f.txt", kWord},
  };
  for (const auto& c : cases) {
    const ProgramOutcome run = Matrix(c.arguments + " 7 100 " + kWord + " " + c.file);
    ASSERT_EQ(run.status, 0) << c.file << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.file;
    EXPECT_EQ(ReadFile(dir_.path() / c.file).substr(0, c.starts.size()), c.starts) << c.file;
  }
  const std::string svg = ReadFile(dir_.path() / "c.out");
  EXPECT_NE(svg.find(">\xD7\x97</text>"), std::string::npos);  // the find's letters as text
  EXPECT_NE(svg.find(">\xD7\xA9</text>"), std::string::npos);
}

TEST_F(QuorelMatrixCli, DrawsWithoutADisplay) {
  const ProgramOutcome run =
      testing::RunProgram(dir_.path(), "/usr/bin/env",
                          std::string("-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '") +
                              QUOREL_MATRIX_PROGRAM + "' --png 7 100 " + kWord + " x.png");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir_.path() / "x.png").substr(0, 4), "\x89PNG");
}

TEST_F(QuorelMatrixCli, RefusesAFindThatIsNotInTheText) {
  const struct {
    std::string arguments;
    std::string says;
  } cases[] = {
      {"7 101 " + kWord, "quorel-matrix: \"" + kWord +
                             "\" is not spelled out at skip 7 from position 101: the letters "
                             "there are \"\xD7\x91\xD7\x91\xD7\x91\xD7\x91\"\n"},
      {"-- -7 100 " + kWord, "quorel-matrix: \"" + kWord +
                                 "\" is not spelled out at skip -7 from position 100: the "
                                 "letters there are \"\xD7\x97\xD7\x91\xD7\x91\xD7\x91\"\n"},
      {"100 250 " + kWord, "quorel-matrix: \"" + kWord +
                               "\" at skip 100 from position 250 would need position 350, "
                               "outside the text's 300 letters\n"},
  };
  for (const auto& c : cases) {
    const ProgramOutcome run = Matrix(c.arguments);
    EXPECT_EQ(run.status, 1) << c.arguments;
    EXPECT_EQ(run.err, c.says);
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(QuorelMatrixCli, UsageErrorsSayWhatWasWrongInOneLine) {
  const std::vector<std::string> cases = {
      "",
      "7 100",
      "0 100 " + kWord,
      "7 0 " + kWord,
      "7 x " + kWord,
      "--width 1 7 100 " + kWord,
      "--width 5 --split 2 7 100 " + kWord,
      "--split 7 7 100 " + kWord,
      "--svg --png 7 100 " + kWord,
      "--rows -1 7 100 " + kWord,
      "--also x 7 100 " + kWord,
      "7 100 abc",
      "7 100 " + kWord + " out.gif",
      "--bogus 7 100 " + kWord,
  };
  for (const std::string& arguments : cases) {
    const ProgramOutcome run = Matrix(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err.rfind("quorel-matrix: ", 0), 0u) << arguments << ": " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << arguments << ": " << run.err;
    EXPECT_EQ(run.out, "") << arguments;
  }
}

TEST_F(QuorelMatrixCli, WriteFailuresAreReportedNeverSuccess) {
  const struct {
    std::string arguments;
    std::string says;
  } cases[] = {
      {"7 100 " + kWord + " >/dev/full", "quorel-matrix: cannot write to standard output: "},
      {"--svg 7 100 " + kWord + " >/dev/full", "quorel-matrix: cannot write to standard output: "},
      {"7 100 " + kWord + " >&-", "quorel-matrix: cannot write to standard output: "},
      {"7 100 " + kWord + " no/such/folder/m.png", "quorel-matrix: Could not write "},
      {"7 100 " + kWord + " no/such/folder/m.txt", "quorel-matrix: could not write "},
  };
  for (const auto& c : cases) {
    // Through a shell of its own, so its redirection of the output comes last.
    const ProgramOutcome run = testing::RunProgram(
        dir_.path(), "/bin/sh",
        std::string("-c \"'") + QUOREL_MATRIX_PROGRAM + "' " + c.arguments + "\"");
    EXPECT_EQ(run.status, 1) << c.arguments;
    EXPECT_EQ(run.err.rfind(c.says, 0), 0u) << c.arguments << ": " << run.err;
  }
}

TEST_F(QuorelMatrixCli, SaysWhenTheDataFileCannotBeLoaded) {
  std::filesystem::remove(dir_.path() / "Quorel.DSF");
  const ProgramOutcome run = Matrix("7 100 " + kWord);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("Quorel.DSF"), std::string::npos) << run.err;
}

TEST_F(QuorelMatrixCli, HelpAndVersion) {
  const ProgramOutcome help = Matrix("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--split"), std::string::npos);
  const ProgramOutcome version = Matrix("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("quorel-matrix ", 0), 0u);
}

}  // namespace
}  // namespace quorel
