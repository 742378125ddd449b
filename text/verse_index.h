// SPDX-License-Identifier: GPL-3.0-or-later
// Where each verse of a letter text starts: the verse index that quorel-mkdsf writes beside the
// data file when its input carries references, and reads back to name the verse of a position.
//
// The file is UTF-8 text, one verse a line, four fields separated by blanks:
//   BOOK CHAPTER VERSE POSITION
// BOOK is a name without blanks (e.g. "Genesis"), CHAPTER and VERSE are whole numbers of 1 or
// more, POSITION is the 1-based position of the verse's first letter in the data file. Positions
// increase strictly from line to line and lie within the data file's letters. Empty lines and
// lines starting with '#' are skipped.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// The verse index's file name beside the data file Quorel.DSF. Another data file's index is
// named after it (see VerseIndexPathFor).
inline constexpr char kVerseIndexFileName[] = "Quorel.verses";

struct Verse {
  std::string book;  // UTF-8, no blanks
  std::int32_t chapter = 0;
  std::int32_t verse = 0;
  std::int32_t first_position = 0;  // 1-based

  friend bool operator==(const Verse&, const Verse&) = default;
};

class VerseIndex {
 public:
  VerseIndex() = default;
  // `verses` must be in strictly increasing order of first position (ParseVerseIndex checks).
  explicit VerseIndex(std::vector<Verse> verses) : verses_(std::move(verses)) {}

  const std::vector<Verse>& Verses() const { return verses_; }
  bool Empty() const { return verses_.empty(); }

  // The verse in which 1-based `position` stands: the last verse starting at or before it; null
  // before the first verse.
  const Verse* VerseAt(std::int32_t position) const;

 private:
  std::vector<Verse> verses_;
};

// "Genesis 1:7".
std::string VerseReference(const Verse& verse);

// One line of the file, line break included.
std::string VerseIndexLine(const Verse& verse);

// What reading an index gives: the index, or one sentence naming the file, the line and the
// fault.
struct VerseIndexLoad {
  std::optional<VerseIndex> index;
  std::string failure;  // empty when the index was read
};

// Reads an index from `text`, checking it against a data file of `file_length` letters.
// `file_name` names the file in the failure sentence.
VerseIndexLoad ParseVerseIndex(std::string_view text, std::int32_t file_length,
                               std::string_view file_name);

// Reads the index file at `file`. A missing file gives no index and no failure: texts without
// references have none.
VerseIndexLoad LoadVerseIndex(const std::filesystem::path& file, std::int32_t file_length);

// The index file that belongs to the data file `data_file`: in the same folder, its name with
// the extension ".verses" (Quorel.DSF: Quorel.verses), so that the data files of one folder never
// share an index.
std::filesystem::path VerseIndexPathFor(const std::filesystem::path& data_file);

}  // namespace quorel
