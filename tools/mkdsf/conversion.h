// A Hebrew text, in one of the forms letter texts are shared in, turned into the letters of a
// data file.
#pragma once

#include <string>
#include <string_view>

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
struct Conversion {
  std::string letters;
  std::string failure;
};

Conversion ConvertText(std::string_view text, const ConversionOptions& options);

}  // namespace quorel::mkdsf
