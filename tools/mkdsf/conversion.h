// A Hebrew text, in one of the forms letter texts are shared in, turned into the letters of a
// data file, as a stream: the text goes in piece by piece, and memory stays bounded whatever
// its size.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/utf.h"

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
};

// A whole text in one piece: its letters' bytes, or, when it is not UTF-8, no letters and the
// failure sentence.
struct Conversion {
  std::string letters;
  std::string failure;
};
Conversion ConvertText(std::string_view text, const ConversionOptions& options);

}  // namespace quorel::mkdsf
