// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/letter_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "temp_dir.h"

namespace quorel {
namespace {

using test::TempDir;

LetterText LoadOk(const std::filesystem::path& file) {
  LoadResult result = LoadLetterText(file);
  EXPECT_TRUE(result.text.has_value()) << result.failure;
  return result.text ? std::move(*result.text) : LetterText();
}

std::string Failure(const std::filesystem::path& file) {
  LoadResult result = LoadLetterText(file);
  EXPECT_FALSE(result.text.has_value());
  return result.failure;
}

TEST(LetterText, FullFileOfLettersLeavesNoBlank) {
  TempDir dir;
  std::string bytes(TEXT_LENGTH, '\0');
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    bytes[k] = static_cast<char>(0x80 + k % 27);
  }
  const LetterText text = LoadOk(dir.Write("Quorel.DSF", bytes));
  EXPECT_EQ(text.Letters().find(u' '), std::u16string_view::npos);
  EXPECT_EQ(text.At(1), u'\u05D0');
  EXPECT_EQ(text.At(TEXT_LENGTH), char16_t(0x05D0 + (TEXT_LENGTH - 1) % 27));
}

TEST(LetterText, EmptyFileGivesBlanksOnly) {
  TempDir dir;
  const LetterText text = LoadOk(dir.Write("Quorel.DSF", ""));
  EXPECT_EQ(text.Letters(), std::u16string(TEXT_LENGTH, u' '));
  EXPECT_EQ(text.Padded(), std::u16string(TEXT_LENGTH + 50, u' '));
}

TEST(LetterText, TheLetterBytesGiveAlefToTavInOrderThenBlanks) {
  TempDir dir;
  std::string bytes;
  for (int b = 0x80; b <= 0x9A; ++b) {
    bytes.push_back(static_cast<char>(b));
  }
  const LetterText text = LoadOk(dir.Write("Quorel.DSF", bytes));
  for (int p = 1; p <= 27; ++p) {
    EXPECT_EQ(text.At(p), char16_t(0x05D0 + p - 1)) << p;
  }
  EXPECT_EQ(text.At(11), u'\u05DA') << "0x8A is final kaf, kept as it stands";
  EXPECT_EQ(text.Letters().substr(27), std::u16string(TEXT_LENGTH - 27, u' '));
}

TEST(LetterText, ByteRuleGoesThroughTheHebrewCodePage) {
  struct Case {
    unsigned char byte;
    char16_t character;
  };
  const Case cases[] = {
      {0x00, u'\u0060'}, {0x01, u'\u0061'}, {0x0D, u'\u006D'},
      {0x0A, u'\u006A'}, {0x20, u'\u20AC'},  // not a blank
      {0x21, u'\uFFFD'},                     // Windows-1255 leaves 0x81 unassigned
      {0x60, u'\u05B0'},                     // sheva
      {0x9D, u'\u200E'},                     // left-to-right mark
      {0x80, u'\u05D0'},                     // alef
      {0x9A, u'\u05EA'},                     // tav
      {0x9E, u'\u200F'},                     // right-to-left mark
      {0x9F, u'\uFFFD'},                     // unassigned, the last byte a file may hold
  };
  // Every byte below 0xA0 loads, the k-th byte of the file at position k + 1, through the
  // same rule: a file of all of them, in order.
  std::string every_byte;
  for (int b = 0x00; b < 0xA0; ++b) {
    every_byte.push_back(static_cast<char>(b));
  }
  TempDir dir;
  const LetterText text = LoadOk(dir.Write("Quorel.DSF", every_byte));
  for (const Case& c : cases) {
    EXPECT_EQ(CharacterForByte(c.byte), c.character) << int(c.byte);
    EXPECT_EQ(text.At(c.byte + 1), c.character) << "loaded " << int(c.byte);
  }
  for (int b = 0x00; b < 0xA0; ++b) {
    EXPECT_EQ(text.At(b + 1), CharacterForByte(static_cast<unsigned char>(b))) << b;
  }
  EXPECT_EQ(text.At(0xA0 + 1), u' ') << "the text goes on blank after the file";
}

TEST(LetterText, LineBreakTakesTwoPositions) {
  TempDir dir;
  const LetterText text = LoadOk(dir.Write("Quorel.DSF", std::string("\x80\x0D\x0A\x81", 4)));
  EXPECT_EQ(text.Letters().substr(0, 5), u"\u05D0mj\u05D1 ");
}

TEST(LetterText, PaddedTextFramesTheLettersWithBlanks) {
  TempDir dir;
  std::string bytes(TEXT_LENGTH, '\x85');
  bytes.front() = '\x80';
  bytes.back() = '\x9A';
  const LetterText text = LoadOk(dir.Write("Quorel.DSF", bytes));
  const std::u16string_view padded = text.Padded();
  ASSERT_EQ(padded.size(), std::size_t(TEXT_LENGTH + 50));
  EXPECT_EQ(padded.substr(0, 25), std::u16string(25, u' '));
  EXPECT_EQ(padded[25], text.At(1));                          // position 26
  EXPECT_EQ(padded[TEXT_LENGTH + 24], text.At(TEXT_LENGTH));  // position TEXT_LENGTH + 25
  EXPECT_EQ(padded.substr(TEXT_LENGTH + 25), std::u16string(25, u' '));
}

TEST(LetterText, FailuresNameFileFolderAndCause) {
  TempDir dir;
  const std::string folder = dir.path().string();
  struct Case {
    std::string name;
    std::string bytes;
    std::string cause;
  };
  const Case cases[] = {
      {"too long", std::string(TEXT_LENGTH + 1, '\x80'), "holds more than 304805 bytes"},
      {"high byte first", std::string("\xA0\x80", 2), "holds the byte 0xA0 at position 1"},
      {"high byte last", std::string(TEXT_LENGTH - 1, '\x80') + "\xFF",
       "holds the byte 0xFF at position 304805"},
  };
  for (const Case& c : cases) {
    const std::string failure = Failure(dir.Write("Quorel.DSF", c.bytes));
    EXPECT_NE(failure.find("Quorel.DSF in the folder " + folder + " " + c.cause), std::string::npos)
        << c.name << ": " << failure;
  }
  std::filesystem::remove(dir.path() / "Quorel.DSF");
  EXPECT_NE(Failure(dir.path() / "Quorel.DSF").find("was not found"), std::string::npos);
}

TEST(LetterText, RefusesWhatIsNoRegularFileWithoutOpeningIt) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "Quorel.DSF");
  EXPECT_NE(Failure(dir.path() / "Quorel.DSF").find("is a folder"), std::string::npos);

  TempDir other;
  const std::filesystem::path pipe = other.path() / "Quorel.DSF";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Opening a pipe with no writer would block for ever.
  EXPECT_NE(Failure(pipe).find("is a named pipe, not a regular file"), std::string::npos);
  EXPECT_NE(Failure("/dev/zero").find("is a device, not a regular file"), std::string::npos);
}

TEST(LetterText, UnreadableFileIsAFailure) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root reads files whatever their permissions";
  }
  TempDir dir;
  const auto file = dir.Write("Quorel.DSF", "\x80\x81");
  std::filesystem::permissions(file, std::filesystem::perms::none);
  EXPECT_NE(Failure(file).find("could not be opened"), std::string::npos);
}

TEST(LetterText, ReadsFromTheWorkingDirectoryAndSeesAReplacedFile) {
  TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  dir.Write("Quorel.DSF", "\x80");
  EXPECT_EQ(LoadOk(kDataFileName).At(1), u'\u05D0');
  dir.Write("Quorel.DSF", "\x81");
  EXPECT_EQ(LoadLetterText().text->At(1), u'\u05D1');
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace quorel
