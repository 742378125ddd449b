// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/verse_index.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using quorel::ParseVerseIndex;

TEST(VerseIndex, ReadsRowsAndNamesTheVerseOfEveryPosition) {
  const quorel::VerseIndexLoad load = ParseVerseIndex(
      "# made by hand\nGenesis 1 1 1\r\nGenesis 1 2 29\n\nExodus 1 1 60\n", 100, "Quorel.verses");
  ASSERT_TRUE(load.index) << load.failure;
  EXPECT_EQ(load.index->Verses().size(), 3u);
  const struct {
    std::int32_t position;
    const char* reference;
  } cases[] = {{1, "Genesis 1:1"},  {28, "Genesis 1:1"}, {29, "Genesis 1:2"},
               {59, "Genesis 1:2"}, {60, "Exodus 1:1"},  {100, "Exodus 1:1"}};
  for (const auto& c : cases) {
    const quorel::Verse* verse = load.index->VerseAt(c.position);
    ASSERT_NE(verse, nullptr) << c.position;
    EXPECT_EQ(quorel::VerseReference(*verse), c.reference) << c.position;
  }
}

TEST(VerseIndex, PositionBeforeTheFirstVerseHasNone) {
  const quorel::VerseIndexLoad load = ParseVerseIndex("Genesis 1 1 5\n", 10, "v");
  ASSERT_TRUE(load.index);
  EXPECT_EQ(load.index->VerseAt(4), nullptr);
}

TEST(VerseIndex, RefusesAnIndexThatDoesNotFitWithItsLine) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"Genesis 1 1 1\nGenesis 1 2 101\n", "line 2 puts a verse at position 101, past"},
      {"Genesis 1 1 5\nGenesis 1 2 5\n", "line 2 puts a verse at position 5, not after"},
      {"Genesis 1 1 9\nGenesis 1 2 3\n", "line 2 puts a verse at position 3, not after"},
      {"Genesis 1 1\n", "line 1 has 3 fields"},
      {"Genesis 1 x 1\n", "line 1 has a chapter, verse or position that is not"},
      {"Genesis 0 1 1\n", "line 1 has a chapter"},
      {"Genesis 1 1 -4\n", "line 1 has a chapter"},
      {"Genesis 1 1 99999999999\n", "line 1 has a chapter"},
  };
  for (const auto& c : cases) {
    const quorel::VerseIndexLoad load = ParseVerseIndex(c.text, 100, "Quorel.verses");
    EXPECT_FALSE(load.index) << c.text;
    EXPECT_NE(load.failure.find("The verse index Quorel.verses was not used: "), std::string::npos)
        << load.failure;
    EXPECT_NE(load.failure.find(c.says), std::string::npos) << load.failure;
  }
}

TEST(VerseIndex, RowsWrittenAreRowsRead) {
  const quorel::Verse verse{"Numbers", 3, 14, 12345};
  const quorel::VerseIndexLoad load =
      ParseVerseIndex(quorel::VerseIndexLine(verse), 20000, "Quorel.verses");
  ASSERT_TRUE(load.index);
  ASSERT_EQ(load.index->Verses().size(), 1u);
  EXPECT_EQ(load.index->Verses().front(), verse);
}

TEST(VerseIndex, EachDataFileHasAnIndexOfItsOwnName) {
  struct Case {
    std::filesystem::path data_file;
    std::filesystem::path index;
  };
  const Case cases[] = {
      {"Quorel.DSF", quorel::kVerseIndexFileName}, {"texts/Quorel.DSF", "texts/Quorel.verses"},
      {"/tmp/genesis.dsf", "/tmp/genesis.verses"}, {"Quorel", "Quorel.verses"},
      {"odd.verses", "odd.verses.verses"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quorel::VerseIndexPathFor(c.data_file), c.index) << c.data_file;
  }
}

}  // namespace
