#include "conversion.h"

#include <optional>

#include "hebrew_text.h"
#include "michigan_claremont.h"
#include "text/utf.h"
#include "utf8_decoder.h"
#include "verse_reference.h"

namespace quorel::mkdsf {
namespace {

std::string NotUtf8Sentence(const Utf8Error& error) {
  return "it is not UTF-8 text: line " + std::to_string(error.line) + " (byte " +
         std::to_string(error.offset + 1) + ") holds a byte that starts no UTF-8 character";
}

// Turns the lines' references into verses. A reference without a book name counts its books
// itself: book 1 at first, and the next book whenever a chapter and verse do not come after the
// ones before them (the next book starts again at 1:1).
class VerseCollector {
 public:
  // The verse that the reference on line `line_number` starts, before the line's letters are
  // added at `next_position`.
  void Add(const LeadingReference& reference, std::size_t line_number, std::size_t next_position) {
    if (!note_.empty()) {
      return;
    }
    const std::vector<std::int32_t>& n = reference.numbers;
    const bool numbered_book = reference.book_words.empty() && n.size() == 3;
    if (n.size() != 2 && !numbered_book) {
      note_ = "line " + std::to_string(line_number) +
              " has a reference that gives no chapter and verse, so no verse index was written";
      verses_.clear();
      return;
    }
    const std::int32_t chapter = n[n.size() - 2];
    const std::int32_t verse = n[n.size() - 1];
    Verse row{BookOf(reference, chapter, verse), chapter, verse,
              static_cast<std::int32_t>(next_position)};
    last_chapter_ = chapter;
    last_verse_ = verse;
    pending_ = std::move(row);
  }

  // The letters of the line are in: the verse stands if it has any.
  void LineDone(bool had_letters) {
    if (pending_ && had_letters) {
      verses_.push_back(std::move(*pending_));
    }
    pending_.reset();
  }

  std::vector<Verse> TakeVerses() { return std::move(verses_); }
  std::string TakeNote() { return std::move(note_); }

 private:
  std::string BookOf(const LeadingReference& reference, std::int32_t chapter, std::int32_t verse) {
    if (reference.numbers.size() == 3) {
      return BookName(reference.numbers[0]);
    }
    if (!reference.book_words.empty()) {
      std::u32string name;
      for (const std::u32string& word : reference.book_words) {
        name += name.empty() ? U"" : U"_";
        name += word;
      }
      return Utf32ToUtf8(name);
    }
    if (last_chapter_ > 0 &&
        (chapter < last_chapter_ || (chapter == last_chapter_ && verse <= last_verse_))) {
      ++counted_book_;
    }
    return BookName(counted_book_);
  }

  std::vector<Verse> verses_;
  std::optional<Verse> pending_;
  std::string note_;
  std::int32_t counted_book_ = 1;
  std::int32_t last_chapter_ = 0;
  std::int32_t last_verse_ = 0;
};

// The reference a line gives the verse index, if any.
std::optional<LeadingReference> LineReference(std::u32string_view line,
                                              const ConversionOptions& options) {
  if (options.strip_references) {
    return ReadVerseReference(line);
  }
  if (options.form == TextForm::kMichiganClaremont) {
    // Digits are no letters there: "1 1 1" in front of a verse names it without being read.
    std::optional<LeadingReference> reference = ReadVerseReference(line);
    if (reference && reference->book_words.empty()) {
      return reference;
    }
  }
  return std::nullopt;
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
    return {{}, NotUtf8Sentence(*error), {}, {}};
  }
  Conversion conversion;
  conversion.letters.reserve(characters.size());
  VerseCollector verses;
  std::u32string_view rest = characters;
  for (std::size_t line_number = 1; !rest.empty(); ++line_number) {
    const std::size_t end = rest.find(U'\n');
    const std::u32string_view line = rest.substr(0, end);
    const std::size_t letters_before = conversion.letters.size();
    if (const std::optional<LeadingReference> reference = LineReference(line, options)) {
      verses.Add(*reference, line_number, letters_before + 1);
    }
    AppendLineLetters(line, options, conversion.letters);
    verses.LineDone(conversion.letters.size() > letters_before);
    rest.remove_prefix(end == std::u32string_view::npos ? rest.size() : end + 1);
  }
  conversion.verses = verses.TakeVerses();
  conversion.verse_note = verses.TakeNote();
  return conversion;
}

std::string VerseIndexText(const std::vector<Verse>& verses, std::size_t letters_written) {
  std::string text;
  for (const Verse& verse : verses) {
    if (static_cast<std::size_t>(verse.first_position) > letters_written) {
      break;
    }
    text += VerseIndexLine(verse);
  }
  return text;
}

}  // namespace quorel::mkdsf
