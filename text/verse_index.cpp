// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/verse_index.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

namespace quorel {
namespace {

// An index is a few hundred kilobytes at most; anything far larger is no index.
constexpr std::uintmax_t kLargestIndexFile = 64 * 1024 * 1024;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    at = end;
  }
  return fields;
}

std::optional<std::int32_t> WholeNumber(std::string_view field) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || value < 1) {
    return std::nullopt;
  }
  return value;
}

VerseIndexLoad Refusal(std::string_view file_name, std::size_t line_number,
                       const std::string& fault) {
  return {std::nullopt, "The verse index " + std::string(file_name) + " was not used: line " +
                            std::to_string(line_number) + " " + fault + "."};
}

}  // namespace

const Verse* VerseIndex::VerseAt(std::int32_t position) const {
  const auto after =
      std::upper_bound(verses_.begin(), verses_.end(), position,
                       [](std::int32_t p, const Verse& verse) { return p < verse.first_position; });
  return after == verses_.begin() ? nullptr : &*std::prev(after);
}

std::string VerseReference(const Verse& verse) {
  return verse.book + " " + std::to_string(verse.chapter) + ":" + std::to_string(verse.verse);
}

std::string VerseIndexLine(const Verse& verse) {
  return verse.book + " " + std::to_string(verse.chapter) + " " + std::to_string(verse.verse) +
         " " + std::to_string(verse.first_position) + "\n";
}

VerseIndexLoad ParseVerseIndex(std::string_view text, std::int32_t file_length,
                               std::string_view file_name) {
  std::vector<Verse> verses;
  std::size_t line_number = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty() || fields.front().front() == '#') {
      continue;
    }
    if (fields.size() != 4) {
      return Refusal(file_name, line_number,
                     "has " + std::to_string(fields.size()) +
                         " fields where book, chapter, verse and position were expected");
    }
    const std::optional<std::int32_t> chapter = WholeNumber(fields[1]);
    const std::optional<std::int32_t> verse = WholeNumber(fields[2]);
    const std::optional<std::int32_t> position = WholeNumber(fields[3]);
    if (!chapter || !verse || !position) {
      return Refusal(file_name, line_number,
                     "has a chapter, verse or position that is not a whole number of 1 or more");
    }
    if (*position > file_length) {
      return Refusal(file_name, line_number,
                     "puts a verse at position " + std::to_string(*position) +
                         ", past the data file's " + std::to_string(file_length) + " letters");
    }
    if (!verses.empty() && *position <= verses.back().first_position) {
      return Refusal(file_name, line_number,
                     "puts a verse at position " + std::to_string(*position) +
                         ", not after the verse before it");
    }
    verses.push_back({std::string(fields[0]), *chapter, *verse, *position});
  }
  return {VerseIndex(std::move(verses)), {}};
}

VerseIndexLoad LoadVerseIndex(const std::filesystem::path& file, std::int32_t file_length) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return {std::nullopt, {}};
  }
  const std::string name = file.filename().string();
  if (error || status.type() != std::filesystem::file_type::regular) {
    return {std::nullopt, "The verse index " + name + " was not used: it is not a regular file."};
  }
  if (std::filesystem::file_size(file, error) > kLargestIndexFile || error) {
    return {std::nullopt, "The verse index " + name + " was not used: it is too large."};
  }
  std::ifstream stream(file, std::ios::binary);
  const std::string contents((std::istreambuf_iterator<char>(stream)),
                             std::istreambuf_iterator<char>());
  if (!stream.is_open() || stream.bad()) {
    return {std::nullopt, "The verse index " + name + " was not used: it could not be read."};
  }
  return ParseVerseIndex(contents, file_length, name);
}

std::filesystem::path VerseIndexPathFor(const std::filesystem::path& data_file) {
  std::filesystem::path index = data_file;
  index.replace_extension(".verses");
  if (index == data_file) {
    index += ".verses";  // a data file named like an index keeps its own
  }
  return index;
}

}  // namespace quorel
