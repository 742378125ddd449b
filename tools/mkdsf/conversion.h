// A Hebrew text, in one of the forms letter texts are shared in, turned into the letters of a
// data file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/verse_index.h"

namespace quorel::mkdsf {

enum class TextForm {
  kHebrewUnicode,      // UTF-8 Hebrew, with or without points and cantillation marks
  kMichiganClaremont,  // the ASCII transliteration, final forms derived at word ends
};

struct ConversionOptions {
  TextForm form = TextForm::kHebrewUnicode;
  bool strip_references = false;  // drop a leading verse reference on each line
};

// The data-file bytes, one per letter, in text order; or, when the text is not UTF-8, no letters
// and one sentence that says where it stops being UTF-8.
//
// The verses come from the lines' references: with --strip-refs from the reference each line
// drops, and in the Michigan-Claremont form also from a line's leading "BOOK CHAPTER VERSE"
// numbers, which are no letters there. A verse starts at the line's first letter; a line without
// letters starts none. When some line's reference gives no chapter and verse, there are no
// verses and `verse_note` says which line.
struct Conversion {
  std::string letters;
  std::string failure;
  std::vector<Verse> verses;
  std::string verse_note;
};

Conversion ConvertText(std::string_view text, const ConversionOptions& options);

// The verse index file of the verses that start within the first `letters_written` letters; empty
// when there are none.
std::string VerseIndexText(const std::vector<Verse>& verses, std::size_t letters_written);

}  // namespace quorel::mkdsf
