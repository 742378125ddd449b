#include "conversion.h"

#include "hebrew_text.h"
#include "michigan_claremont.h"
#include "utf8_decoder.h"
#include "verse_reference.h"

namespace quorel::mkdsf {
namespace {

std::string NotUtf8Sentence(const Utf8Error& error) {
  return "it is not UTF-8 text: line " + std::to_string(error.line) + " (byte " +
         std::to_string(error.offset + 1) + ") holds a byte that starts no UTF-8 character";
}

void AppendLineLetters(std::u32string_view line, const ConversionOptions& options,
                       std::string& letters) {
  if (options.strip_references) {
    line = WithoutVerseReference(line);
  }
  if (options.form == TextForm::kMichiganClaremont) {
    AppendMcLetters(line, letters);
  } else {
    AppendHebrewLetters(line, letters);
  }
}

}  // namespace

Conversion ConvertText(std::string_view text, const ConversionOptions& options) {
  std::u32string characters;
  if (const auto error = DecodeUtf8(text, characters)) {
    return {{}, NotUtf8Sentence(*error)};
  }
  Conversion conversion;
  conversion.letters.reserve(characters.size());
  std::u32string_view rest = characters;
  while (!rest.empty()) {
    const std::size_t end = rest.find(U'\n');
    AppendLineLetters(rest.substr(0, end), options, conversion.letters);
    rest.remove_prefix(end == std::u32string_view::npos ? rest.size() : end + 1);
  }
  return conversion;
}

}  // namespace quorel::mkdsf
