// SPDX-License-Identifier: GPL-3.0-or-later
// A Hebrew text, in one of the forms letter texts are shared in, turned into the letters of a
// data file, as a stream: the text goes in piece by piece, and memory stays bounded whatever
// its size.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/utf.h"
#include "text/verse_index.h"
#include "verse_reference.h"

namespace quorel::mkdsf {

enum class TextForm {
  kHebrewUnicode,      // UTF-8 Hebrew, with or without points and cantillation marks
  kMichiganClaremont,  // the ASCII transliteration, final forms derived at word ends
};

struct ConversionOptions {
  TextForm form = TextForm::kHebrewUnicode;
  bool strip_references = false;  // drop a leading verse reference on each line
};

// Where a text stops being UTF-8, and why.
struct NotUtf8 {
  Utf8Fault fault = Utf8Fault::kNone;
  std::size_t line = 0;    // 1-based
  std::size_t offset = 0;  // 0-based byte offset in the whole text
};

// One sentence for the failure, "it is not UTF-8 text: ...", that names its cause and place.
std::string NotUtf8Sentence(const NotUtf8& failure);

// Turns the lines' references into the verses of the verse index. A verse starts at the first
// letter of its line (or of a later part of it); a line without letters starts none. A
// reference without a book name counts its books itself: book 1 at first, and the next book
// whenever a chapter and verse do not come after the ones before them. When some line's
// reference gives no chapter and verse, there are no verses and Note() says which line.
class VerseCollector {
 public:
  // A line starts, with the reference it gives the index, if any; its letters, if it has any,
  // start at 1-based `next_position`.
  void StartLine(const std::optional<LeadingReference>& reference, std::size_t line_number,
                 std::size_t next_position);
  // The line started last has letters.
  void LettersCame();

  std::vector<Verse>& Verses() { return verses_; }
  const std::string& Note() const { return note_; }

 private:
  std::string BookOf(const LeadingReference& reference, std::int32_t chapter, std::int32_t verse);

  std::vector<Verse> verses_;
  std::optional<Verse> pending_;
  std::string note_;
  std::int32_t counted_book_ = 1;
  std::int32_t last_chapter_ = 0;
  std::int32_t last_verse_ = 0;
};

class TextConverter {
 public:
  // Keeps the data-file bytes of the first `keep` letters and counts all of them.
  TextConverter(const ConversionOptions& options, std::size_t keep);

  // Takes the next bytes of the text, which may cut a character or a line anywhere. False once
  // the text has proved not to be UTF-8.
  bool Feed(std::string_view bytes);
  // The end of the text. False when it is not UTF-8 (or ends inside a character).
  bool Finish();

  std::string& Letters() { return letters_; }
  std::size_t LetterCount() const { return letter_count_; }
  // The verses that the references of the lines give (see VerseCollector): with --strip-refs
  // from the reference each line drops, and in the Michigan-Claremont form also from a line's
  // leading "BOOK CHAPTER VERSE" numbers, which are no letters there.
  VerseCollector& Verses() { return verses_; }
  const std::optional<NotUtf8>& Failure() const { return failure_; }

 private:
  bool Fail(Utf8Fault fault);
  void TakeCharacter(char32_t c);
  void ConvertPiece(std::size_t length);
  void AddLetters(std::u32string_view piece, bool at_line_start);

  ConversionOptions options_;
  std::size_t keep_;
  std::string letters_;
  std::size_t letter_count_ = 0;
  std::string carry_;          // the start of a character that the last piece cut off
  std::u32string line_;        // the current line, or its part after a cut (kLongestPiece)
  bool at_line_start_ = true;  // whether line_ starts where its line does
  std::string scratch_;
  std::size_t decoded_ = 0;  // bytes decoded so far
  std::size_t line_number_ = 1;
  std::optional<NotUtf8> failure_;
  VerseCollector verses_;
};

// A whole text in one piece: its letters' bytes and verses, or, when it is not UTF-8, no
// letters and the failure sentence.
struct Conversion {
  std::string letters;
  std::string failure;
  std::vector<Verse> verses;
  std::string verse_note;  // why a text with references has no verses; empty otherwise
};
Conversion ConvertText(std::string_view text, const ConversionOptions& options);

// The verse index file of the verses that start within the first `letters_written` letters; empty
// when there are none.
std::string VerseIndexText(const std::vector<Verse>& verses, std::size_t letters_written);

}  // namespace quorel::mkdsf
