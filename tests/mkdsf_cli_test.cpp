// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of the quorel-mkdsf program: what it writes, what it refuses, what it says,
// and conversions of the real text in its other forms back to its data file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "program_runner.h"
#include "temp_dir.h"
#include "text/letter_text.h"

namespace quorel {
namespace {

using test::ProgramOutcome;
using test::ReadFile;
using test::TempDir;
namespace fs = std::filesystem;

ProgramOutcome Mkdsf(const TempDir& dir, const std::string& arguments,
                     test::Stdin in = test::Stdin::Null()) {
  test::Invocation invocation =
      test::Call(QUOREL_MKDSF_PROGRAM, test::Words(arguments), dir.path());
  invocation.in = std::move(in);
  return test::Run(invocation);
}

const std::string kShalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // shin lamed vav final-mem
const std::string kShalomBytes = "\x99\x8C\x85\x8D";

TEST(QuorelMkdsfCli, WritesQuorelDsfFromUtf8TextAndWarnsWhenItIsShort) {
  TempDir dir;
  dir.Write("text.txt", "1:1 " + kShalom + ", " + kShalom + "\n");
  const ProgramOutcome run = Mkdsf(dir, "text.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir.path() / "Quorel.DSF"), kShalomBytes + kShalomBytes);
  EXPECT_EQ(run.out, "Wrote 8 letters to Quorel.DSF\n");
  EXPECT_EQ(run.err,
            "quorel-mkdsf: warning: 8 letters, fewer than the 304805 of a complete text; the "
            "window leaves positions 9 to 304805 blank\n");
}

TEST(QuorelMkdsfCli, NeverReplacesAFileWithoutForce) {
  TempDir dir;
  dir.Write("text.txt", kShalom);
  dir.Write("Quorel.DSF", "old");
  const ProgramOutcome refused = Mkdsf(dir, "text.txt");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "quorel-mkdsf: Quorel.DSF already exists; pass --force to replace it\n");
  EXPECT_EQ(ReadFile(dir.path() / "Quorel.DSF"), "old");

  EXPECT_EQ(Mkdsf(dir, "--force text.txt").status, 0);
  EXPECT_EQ(ReadFile(dir.path() / "Quorel.DSF"), kShalomBytes);
}

TEST(QuorelMkdsfCli, RefusesMoreLettersThanTheWindowLoadsUnlessAskedToTruncate) {
  TempDir dir;
  std::string text;
  for (int k = 0; k < TEXT_LENGTH / 4 + 1; ++k) {
    text += kShalom + " ";
  }
  dir.Write("long.txt", text);
  const ProgramOutcome refused = Mkdsf(dir, "long.txt out.DSF");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("holds 304808 letters, more than the 304805"), std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("--truncate"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "out.DSF"));

  const ProgramOutcome truncated = Mkdsf(dir, "--truncate long.txt out.DSF");
  EXPECT_EQ(truncated.status, 0) << truncated.err;
  const std::string bytes = ReadFile(dir.path() / "out.DSF");
  ASSERT_EQ(bytes.size(), std::size_t(TEXT_LENGTH));
  EXPECT_EQ(bytes.substr(0, 4), kShalomBytes);
  EXPECT_EQ(bytes.back(), '\x99') << "position 304805 = 4 * 76201 + 1 holds a word's shin";
  EXPECT_EQ(truncated.out, "Wrote 304805 letters to out.DSF\n");
}

TEST(QuorelMkdsfCli, ReadsMichiganClaremontAndStandardInput) {
  TempDir dir;
  dir.Write("text.mc", "1 1 1 $LWM $LWM\n");
  EXPECT_EQ(Mkdsf(dir, "--mc --strip-refs -", test::Stdin::File(dir.path() / "text.mc")).status, 0);
  EXPECT_EQ(ReadFile(dir.path() / "Quorel.DSF"), kShalomBytes + kShalomBytes);
}

TEST(QuorelMkdsfCli, WritesTheVerseIndexBesideTheDataFileAndNeverLeavesAStaleOne) {
  TempDir dir;
  dir.Write("text.mc", "1 1 1 $LWM $LWM\n1 1 2 $LWM\n2 3 4 $LWM\n");
  fs::create_directory(dir.path() / "out");
  const ProgramOutcome run = Mkdsf(dir, "--mc text.mc out");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Wrote 16 letters to out/Quorel.DSF\n"
            "Wrote the verse index of 3 verses to out/Quorel.verses\n");
  EXPECT_EQ(ReadFile(dir.path() / "out" / "Quorel.verses"),
            "Genesis 1 1 1\nGenesis 1 2 9\nExodus 3 4 13\n");

  dir.Write("refs.txt", "Gen 1:1 " + kShalom + "\nGen 1:2 " + kShalom + "\n");
  EXPECT_EQ(Mkdsf(dir, "--strip-refs --force refs.txt out").status, 0);
  EXPECT_EQ(ReadFile(dir.path() / "out" / "Quorel.verses"), "Gen 1 1 1\nGen 1 2 5\n");

  dir.Write("plain.txt", kShalom);
  const ProgramOutcome plain = Mkdsf(dir, "--force plain.txt out");
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, "Wrote 4 letters to out/Quorel.DSF\n");
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "Quorel.verses")) << "the old index went with it";
}

// Another data file in the same folder has an index of its own name and leaves Quorel.verses be.
TEST(QuorelMkdsfCli, AnotherDataFileLeavesTheIndexOfQuorelDsfAlone) {
  TempDir dir;
  dir.Write("Quorel.verses", "Genesis 1 1 1\n");
  dir.Write("text.mc", "1 1 1 $LWM\n");
  const ProgramOutcome run = Mkdsf(dir, "--mc text.mc other.DSF");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir.path() / "other.verses"), "Genesis 1 1 1\n");
  dir.Write("plain.txt", kShalom);
  EXPECT_EQ(Mkdsf(dir, "--force plain.txt other.DSF").status, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "other.verses")) << "a text without references";
  EXPECT_EQ(ReadFile(dir.path() / "Quorel.verses"), "Genesis 1 1 1\n");
}

TEST(QuorelMkdsfCli, WritesIntoAFolderUnderTheDataFilesName) {
  TempDir dir;
  dir.Write("text.txt", kShalom);
  fs::create_directory(dir.path() / "texts");
  EXPECT_EQ(Mkdsf(dir, "text.txt texts").status, 0);
  EXPECT_EQ(ReadFile(dir.path() / "texts" / "Quorel.DSF"), kShalomBytes);
}

TEST(QuorelMkdsfCli, ExplainsInputItCannotUse) {
  TempDir dir;
  dir.Write("latin.txt", "no hebrew here 123\n");
  dir.Write("cp1255.txt", "\xF9\xEC\xE5\xED\n");
  dir.Write("already.DSF", kShalomBytes);
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"latin.txt",
       "latin.txt holds no Hebrew letters; nothing written (for a text in the "
       "Michigan-Claremont transliteration, pass --mc)"},
      {"--mc latin.txt", "latin.txt holds no Michigan-Claremont letters"},
      {"cp1255.txt", "Could not convert cp1255.txt: it is not UTF-8 text: line 1 (byte 1)"},
      {"cp1255.txt", "iconv -f WINDOWS-1255 -t UTF-8"},
      {"already.DSF", "it looks like a data file already"},
      {"absent.txt", "Could not read absent.txt: No such file or directory"},
      {"/dev/zero", "/dev/zero is larger than 256 MiB"},
  };
  for (const Case& c : cases) {
    const ProgramOutcome run = Mkdsf(dir, c.arguments);
    EXPECT_EQ(run.status, 1) << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "Quorel.DSF")) << c.arguments;
  }
}

TEST(QuorelMkdsfCli, UsageErrorsExitWithTwo) {
  TempDir dir;
  for (const std::string arguments : {"", "--bogus x", "a b c", "--demo a b"}) {
    const ProgramOutcome run = Mkdsf(dir, arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("usage: quorel-mkdsf"), std::string::npos) << arguments;
  }
  EXPECT_EQ(Mkdsf(dir, "--help").status, 0);
}

TEST(QuorelMkdsfCli, DemoWritesALabelledDemoTextAndSaysHowToMakeARealOne) {
  TempDir dir;
  const ProgramOutcome run = Mkdsf(dir, "--demo");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fs::file_size(dir.path() / "Quorel.DSF"), std::uintmax_t(TEXT_LENGTH));
  EXPECT_NE(run.out.find("DEMO text"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("not a real text"), std::string::npos);
  EXPECT_NE(run.out.find("skip 7     position 10000   \xD7\x97\xD7\x95\xD7\xA4\xD7\xA9"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("quorel-mkdsf --force TEXT.txt"), std::string::npos);
  EXPECT_EQ(Mkdsf(dir, "--demo").status, 1) << "it replaces no file either";
}

// The real text turned into the forms letter texts are shared in, and back.
class RealTextRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path data = QUOREL_SHARED_DATA;
    if (!fs::exists(data / "Quorel.DSF")) {
      GTEST_SKIP() << "the real text is not at " << data / "Quorel.DSF";
    }
    real_ = ReadFile(data / "Quorel.DSF");
    ASSERT_EQ(real_.size(), std::size_t(TEXT_LENGTH));
  }

  static std::string Letter(char byte) {
    return test::LetterUtf8(static_cast<unsigned char>(byte));
  }

  TempDir dir_;
  std::string real_;
};

TEST_F(RealTextRoundTrip, PlainUtf8LettersGiveBackTheSameBytes) {
  std::string text;
  for (const char byte : real_) {
    text += Letter(byte);
  }
  dir_.Write("plain.txt", text);
  const ProgramOutcome run = Mkdsf(dir_, "plain.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(ReadFile(dir_.path() / "Quorel.DSF") == real_);
}

TEST_F(RealTextRoundTrip, PointedVersesWithReferencesGiveBackTheSameBytes) {
  // Lines of 40 letters headed "<chapter>:<verse>", words of 5 letters, a point under every
  // other letter, a cantillation mark on some, a maqaf between some words and sof pasuq at the
  // end: all of it is dropped again.
  std::string text;
  for (std::size_t k = 0; k < real_.size(); ++k) {
    if (k % 40 == 0) {
      text += std::to_string(1 + k / 1000) + ":" + std::to_string(1 + k / 40 % 25) + " ";
    }
    text += Letter(real_[k]);
    if (k % 2 == 0) {
      text += "\xD6\xB8";  // qamats
    }
    if (k % 7 == 0) {
      text += "\xD6\x91";  // etnahta
    }
    if (k % 40 == 39) {
      text += "\xD7\x83\r\n";  // sof pasuq
    } else if (k % 5 == 4) {
      text += k % 3 == 0 ? "\xD6\xBE" : " ";  // maqaf or blank
    }
  }
  dir_.Write("pointed.txt", text);
  const ProgramOutcome run = Mkdsf(dir_, "--strip-refs pointed.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(ReadFile(dir_.path() / "Quorel.DSF") == real_);
}

TEST_F(RealTextRoundTrip, TheFiveMichiganClaremontBooksGiveBackTheSameBytes) {
  const fs::path mc = fs::path(QUOREL_SHARED_DATA) / "mc";
  std::string text;
  for (const char* book : {"genesis", "exodus", "leviticus", "numbers", "deuteronomy"}) {
    const fs::path file = mc / (std::string(book) + ".mc.txt");
    if (!fs::exists(file)) {
      GTEST_SKIP() << "the transliterated text is not at " << file;
    }
    text += ReadFile(file);
  }
  dir_.Write("torah.mc.txt", text);
  const ProgramOutcome run = Mkdsf(dir_, "--mc torah.mc.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Wrote 304805 letters to Quorel.DSF\n"
            "Wrote the verse index of 5847 verses to Quorel.verses\n");
  EXPECT_TRUE(ReadFile(dir_.path() / "Quorel.DSF") == real_);

  const ProgramOutcome stripped = Mkdsf(dir_, "--mc --strip-refs --force torah.mc.txt");
  EXPECT_EQ(stripped.status, 0) << stripped.err;
  EXPECT_TRUE(ReadFile(dir_.path() / "Quorel.DSF") == real_);
}

}  // namespace
}  // namespace quorel
