// SPDX-License-Identifier: GPL-3.0-or-later
// Writing data files: whole or not at all, and never over a file unless asked.
#include "tools/mkdsf/data_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "temp_dir.h"

namespace quorel::mkdsf {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::size_t FilesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(DataFileWriter, WritesTheBytesAndLeavesNoTemporaryFile) {
  TempDir dir;
  const mode_t old_mask = umask(022);
  const std::string bytes = "\x80\x81\x9A";
  EXPECT_EQ(WriteDataFile(dir.path() / "Quorel.DSF", bytes, Overwrite::kRefuse), "");
  umask(old_mask);
  EXPECT_EQ(ReadFile(dir.path() / "Quorel.DSF"), bytes);
  EXPECT_EQ(FilesIn(dir.path()), 1u);
  // Readable by others, like any file the user makes, not private like a temporary file.
  EXPECT_EQ(fs::status(dir.path() / "Quorel.DSF").permissions() & fs::perms::others_read,
            fs::perms::others_read);
}

TEST(DataFileWriter, ReplacesAnExistingFileOnlyWhenAsked) {
  TempDir dir;
  const fs::path file = dir.Write("Quorel.DSF", "old");
  EXPECT_EQ(WriteDataFile(file, "\x80", Overwrite::kRefuse),
            file.string() + " already exists; pass --force to replace it");
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1u);

  EXPECT_EQ(WriteDataFile(file, "\x80", Overwrite::kReplace), "");
  EXPECT_EQ(ReadFile(file), "\x80");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(DataFileWriter, ADanglingLinkCountsAsAnExistingFile) {
  TempDir dir;
  fs::create_symlink(dir.path() / "nowhere", dir.path() / "Quorel.DSF");
  EXPECT_NE(WriteDataFile(dir.path() / "Quorel.DSF", "\x80", Overwrite::kRefuse), "");
  EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
}

TEST(DataFileWriter, ReportsAFolderItCannotWriteInto) {
  TempDir dir;
  const fs::path missing = dir.path() / "no such folder" / "Quorel.DSF";
  const std::string failure = WriteDataFile(missing, "\x80", Overwrite::kReplace);
  EXPECT_NE(failure.find("Could not create a file in the folder of " + missing.string()),
            std::string::npos)
      << failure;

  // A folder where the file should be: nothing is replaced and nothing is left behind.
  fs::create_directory(dir.path() / "Quorel.DSF");
  EXPECT_NE(WriteDataFile(dir.path() / "Quorel.DSF", "\x80", Overwrite::kReplace), "");
  EXPECT_TRUE(fs::is_directory(dir.path() / "Quorel.DSF"));
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

// The verse index goes beside the data file with it, and an old index never outlives the text it
// belonged to.
TEST(DataFileWriter, WritesTheIndexBesideTheDataFileAndDropsAStaleOne) {
  TempDir dir;
  const fs::path file = dir.path() / "Quorel.DSF";
  const fs::path index = dir.path() / "Quorel.verses";
  EXPECT_EQ(WriteDataFileAndIndex(file, "\x80\x81", "Genesis 1 1 1\n", Overwrite::kRefuse), "");
  EXPECT_EQ(ReadFile(file), "\x80\x81");
  EXPECT_EQ(ReadFile(index), "Genesis 1 1 1\n");
  EXPECT_EQ(FilesIn(dir.path()), 2u);

  // Refused: the old data file keeps its index.
  EXPECT_NE(WriteDataFileAndIndex(file, "\x82", "Exodus 1 1 1\n", Overwrite::kRefuse), "");
  EXPECT_EQ(ReadFile(index), "Genesis 1 1 1\n");

  EXPECT_EQ(WriteDataFileAndIndex(file, "\x82\x83", "Exodus 1 1 1\n", Overwrite::kReplace), "");
  EXPECT_EQ(ReadFile(index), "Exodus 1 1 1\n");

  // A new text without references: no index stays beside it.
  EXPECT_EQ(WriteDataFileAndIndex(file, "\x84", "", Overwrite::kReplace), "");
  EXPECT_EQ(ReadFile(file), "\x84");
  EXPECT_FALSE(fs::exists(index));
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(DataFileWriter, AFailedDataFileLeavesNoIndexAndNoTemporary) {
  TempDir dir;
  fs::create_directory(dir.path() / "Quorel.DSF");
  EXPECT_NE(WriteDataFileAndIndex(dir.path() / "Quorel.DSF", "\x80", "Genesis 1 1 1\n",
                                  Overwrite::kReplace),
            "");
  EXPECT_FALSE(fs::exists(dir.path() / "Quorel.verses"));
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace quorel::mkdsf
