// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion.h"

#include <algorithm>
#include <limits>

#include "hebrew_text.h"
#include "michigan_claremont.h"
#include "verse_reference.h"

namespace quorel::mkdsf {
namespace {

// A line longer than this (in characters) is converted in parts, each cut after a word, so a
// text of one endless line needs no more memory than this.
constexpr std::size_t kLongestPiece = std::size_t{1} << 20;

std::string FaultWords(Utf8Fault fault) {
  switch (fault) {
    case Utf8Fault::kStrayByte:
      return "holds a byte that starts no UTF-8 character";
    case Utf8Fault::kEndsInside:
      return "ends inside a UTF-8 character: the text is cut short";
    case Utf8Fault::kCutShort:
      return "holds a UTF-8 character cut short: a byte that does not continue it comes too "
             "early";
    case Utf8Fault::kOverlong:
      return "holds an overlong UTF-8 form: a character written with more bytes than it needs";
    case Utf8Fault::kSurrogate:
      return "holds a UTF-16 surrogate (U+D800..U+DFFF) written as UTF-8, which UTF-8 never "
             "holds";
    case Utf8Fault::kPastUnicode:
      return "holds a code past U+10FFFF, where Unicode ends";
    case Utf8Fault::kNone:
      break;
  }
  return "is not UTF-8";
}

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

}  // namespace

void VerseCollector::StartLine(const std::optional<LeadingReference>& reference,
                               std::size_t line_number, std::size_t next_position) {
  pending_.reset();
  if (!reference || !note_.empty()) {
    return;
  }
  const std::vector<std::int32_t>& n = reference->numbers;
  const bool numbered_book = reference->book_words.empty() && n.size() == 3;
  if (n.size() != 2 && !numbered_book) {
    note_ = "line " + std::to_string(line_number) +
            " has a reference that gives no chapter and verse, so no verse index was written";
    verses_.clear();
    return;
  }
  const std::int32_t chapter = n[n.size() - 2];
  const std::int32_t verse = n[n.size() - 1];
  pending_ = Verse{BookOf(*reference, chapter, verse), chapter, verse,
                   static_cast<std::int32_t>(std::min<std::size_t>(
                       next_position, std::numeric_limits<std::int32_t>::max()))};
  last_chapter_ = chapter;
  last_verse_ = verse;
}

void VerseCollector::LettersCame() {
  if (pending_) {
    verses_.push_back(std::move(*pending_));
    pending_.reset();
  }
}

std::string VerseCollector::BookOf(const LeadingReference& reference, std::int32_t chapter,
                                   std::int32_t verse) {
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

std::string NotUtf8Sentence(const NotUtf8& failure) {
  return "it is not UTF-8 text: line " + std::to_string(failure.line) + " (byte " +
         std::to_string(failure.offset + 1) + ") " + FaultWords(failure.fault);
}

TextConverter::TextConverter(const ConversionOptions& options, std::size_t keep)
    : options_(options), keep_(keep) {}

bool TextConverter::Fail(Utf8Fault fault) {
  failure_ = NotUtf8{fault, line_number_, decoded_};
  return false;
}

bool TextConverter::Feed(std::string_view bytes) {
  if (failure_) {
    return false;
  }
  std::size_t at = 0;
  char32_t c = 0;
  Utf8Fault fault = Utf8Fault::kNone;
  if (!carry_.empty()) {
    // The character that the last piece cut off goes on here.
    const std::size_t taken = std::min<std::size_t>(4 - carry_.size(), bytes.size());
    const std::string joined = carry_ + std::string(bytes.substr(0, taken));
    const std::size_t length = DecodeUtf8Sequence(joined, 0, c, &fault);
    if (length == 0) {
      if (fault == Utf8Fault::kEndsInside) {
        carry_ = joined;
        return true;
      }
      return Fail(fault);
    }
    at = length - carry_.size();
    carry_.clear();
    decoded_ += length;
    TakeCharacter(c);
  }
  while (at < bytes.size()) {
    const std::size_t length = DecodeUtf8Sequence(bytes, at, c, &fault);
    if (length == 0) {
      if (fault == Utf8Fault::kEndsInside) {
        carry_.assign(bytes.substr(at));
        return true;
      }
      return Fail(fault);
    }
    at += length;
    decoded_ += length;
    TakeCharacter(c);
  }
  return true;
}

bool TextConverter::Finish() {
  if (failure_) {
    return false;
  }
  if (!carry_.empty()) {
    return Fail(Utf8Fault::kEndsInside);
  }
  ConvertPiece(line_.size());  // the last line, without a line feed after it
  return true;
}

void TextConverter::TakeCharacter(char32_t c) {
  if (c == U'\n') {
    ConvertPiece(line_.size());
    ++line_number_;
    return;
  }
  line_.push_back(c);
  if (line_.size() < kLongestPiece) {
    return;
  }
  // Cut after the last word end, so no word is split (a word is cut only if it fills the piece).
  const auto word_end = std::find_if(line_.rbegin(), line_.rend(), EndsMcWord);
  const std::size_t cut = word_end == line_.rend() ? line_.size() : line_.rend() - word_end;
  ConvertPiece(cut);
  at_line_start_ = false;
}

// Converts the first `length` characters of line_ and drops them; the whole line ends it.
void TextConverter::ConvertPiece(std::size_t length) {
  AddLetters(std::u32string_view(line_).substr(0, length), at_line_start_);
  line_.erase(0, length);
  if (line_.empty()) {
    at_line_start_ = true;
  }
}

void TextConverter::AddLetters(std::u32string_view piece, bool at_line_start) {
  if (at_line_start) {
    verses_.StartLine(LineReference(piece, options_), line_number_, letter_count_ + 1);
  }
  if (options_.strip_references && at_line_start) {
    piece = WithoutVerseReference(piece);
  }
  scratch_.clear();
  if (options_.form == TextForm::kMichiganClaremont) {
    AppendMcLetters(piece, scratch_);
  } else {
    AppendHebrewLetters(piece, scratch_);
  }
  letter_count_ += scratch_.size();
  if (!scratch_.empty()) {
    verses_.LettersCame();
  }
  if (letters_.size() < keep_) {
    letters_.append(scratch_, 0, std::min(scratch_.size(), keep_ - letters_.size()));
  }
}

Conversion ConvertText(std::string_view text, const ConversionOptions& options) {
  TextConverter converter(options, std::string::npos);
  if (!converter.Feed(text) || !converter.Finish()) {
    return {{}, NotUtf8Sentence(*converter.Failure()), {}, {}};
  }
  return {std::move(converter.Letters()),
          {},
          std::move(converter.Verses().Verses()),
          converter.Verses().Note()};
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
