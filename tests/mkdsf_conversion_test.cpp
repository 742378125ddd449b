// SPDX-License-Identifier: GPL-3.0-or-later
// The converter's reading of Hebrew texts: UTF-8 decoding, Hebrew letters, the
// Michigan-Claremont transliteration and verse references.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "text/data_file_bytes.h"
#include "text/letter_text.h"
#include "text/utf.h"
#include "tools/mkdsf/conversion.h"
#include "tools/mkdsf/hebrew_text.h"
#include "tools/mkdsf/michigan_claremont.h"
#include "tools/mkdsf/text_length.h"
#include "tools/mkdsf/verse_reference.h"

namespace quorel::mkdsf {
namespace {

// The characters of valid UTF-8.
std::u32string U32(std::string_view utf8) {
  std::u32string out;
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8Sequence(utf8, at, c);
    EXPECT_NE(length, 0u) << "not UTF-8 at byte " << at;
    if (length == 0) {
      break;
    }
    out.push_back(c);
    at += length;
  }
  return out;
}

// The data-file bytes of a text written in Hebrew letters (UTF-8 in the source).
std::string Bytes(std::string_view hebrew_utf8) {
  const std::u32string letters = U32(hebrew_utf8);
  std::string bytes;
  for (const char32_t c : letters) {
    EXPECT_TRUE(c >= 0x05D0 && c <= 0x05EA)
        << "not a letter: " << std::hex << static_cast<unsigned>(c);
    bytes.push_back(LetterByte(c));
  }
  return bytes;
}

std::string Hebrew(std::string_view utf8) {
  return ConvertText(utf8, {TextForm::kHebrewUnicode, false}).letters;
}

std::string Mc(std::string_view text) {
  return ConvertText(text, {TextForm::kMichiganClaremont, false}).letters;
}

// Each way a text stops being UTF-8 is named for what it is, at the first byte of the
// character at fault, whether the text comes in one piece or byte by byte.
TEST(Conversion, NamesTheCauseLineAndByteOfTheFirstMalformedSequence) {
  struct Case {
    std::string text;
    Utf8Fault fault;
    std::size_t line;
    std::size_t offset;
  };
  const Case cases[] = {
      {"\x80", Utf8Fault::kStrayByte, 1, 0},             // a continuation byte with no lead
      {"\xFF", Utf8Fault::kStrayByte, 1, 0},             // never in UTF-8
      {"ab\ncd\n\xD7", Utf8Fault::kEndsInside, 3, 6},    // cut off at the end of the text
      {"\xE2\x82", Utf8Fault::kEndsInside, 1, 0},        // two of three bytes
      {"\xD7\x90\xD7 x", Utf8Fault::kCutShort, 1, 2},    // lead byte followed by no continuation
      {"\xE0\xF9\xE5\xED", Utf8Fault::kCutShort, 1, 0},  // Windows-1255 Hebrew
      {"\xC0\xAF", Utf8Fault::kOverlong, 1, 0},          // overlong form of '/'
      {"\xE0\x80\xAF", Utf8Fault::kOverlong, 1, 0},      // and again, in three bytes
      {"a\n\xED\xA0\x80", Utf8Fault::kSurrogate, 2, 2},  // a surrogate
      {"\xF4\x90\x80\x80", Utf8Fault::kPastUnicode, 1, 0},
  };
  for (const Case& c : cases) {
    for (const bool byte_by_byte : {false, true}) {
      SCOPED_TRACE(c.text + (byte_by_byte ? " byte by byte" : " in one piece"));
      TextConverter converter({}, 100);
      bool ok = true;
      if (byte_by_byte) {
        for (std::size_t k = 0; ok && k < c.text.size(); ++k) {
          ok = converter.Feed(std::string_view(c.text).substr(k, 1));
        }
      } else {
        ok = converter.Feed(c.text);
      }
      EXPECT_FALSE(ok && converter.Finish());
      ASSERT_TRUE(converter.Failure().has_value());
      EXPECT_EQ(converter.Failure()->fault, c.fault);
      EXPECT_EQ(converter.Failure()->line, c.line);
      EXPECT_EQ(converter.Failure()->offset, c.offset);
    }
  }
}

TEST(Conversion, SaysWhatEachFaultIs) {
  const std::pair<Utf8Fault, std::string> cases[] = {
      {Utf8Fault::kStrayByte, "holds a byte that starts no UTF-8 character"},
      {Utf8Fault::kEndsInside, "ends inside a UTF-8 character: the text is cut short"},
      {Utf8Fault::kCutShort, "holds a UTF-8 character cut short"},
      {Utf8Fault::kOverlong, "holds an overlong UTF-8 form"},
      {Utf8Fault::kSurrogate, "holds a UTF-16 surrogate"},
      {Utf8Fault::kPastUnicode, "holds a code past U+10FFFF"},
  };
  for (const auto& [fault, words] : cases) {
    const std::string sentence = NotUtf8Sentence({fault, 2, 9});
    EXPECT_EQ(sentence.rfind("it is not UTF-8 text: line 2 (byte 10) " + words, 0), 0u) << sentence;
  }
}

// Pieces of any size, cut anywhere (inside a character, a word, a line, a reference), give the
// letters that the whole text gives.
TEST(Conversion, GivesTheSameLettersWhereverTheTextIsCut) {
  const std::string hebrew = "1:1 בְּרֵאשִׁית בָּרָא\r\nבראשית 1:2 והארץ היתה\nא:ג מלך";
  const std::string mc = "GEN 1:1 BR)$YT MLK\nGEN 1:2 MN-H(C\n";
  for (const auto& [text, form] :
       {std::pair{hebrew, TextForm::kHebrewUnicode}, std::pair{mc, TextForm::kMichiganClaremont}}) {
    const ConversionOptions options{form, true};
    const std::string whole = ConvertText(text, options).letters;
    ASSERT_FALSE(whole.empty());
    for (std::size_t piece = 1; piece <= 7; ++piece) {
      TextConverter converter(options, std::string::npos);
      for (std::size_t at = 0; at < text.size(); at += piece) {
        ASSERT_TRUE(converter.Feed(std::string_view(text).substr(at, piece)));
      }
      ASSERT_TRUE(converter.Finish());
      EXPECT_EQ(converter.Letters(), whole) << "pieces of " << piece;
      EXPECT_EQ(converter.LetterCount(), whole.size());
    }
  }
}

TEST(Conversion, KeepsTheFirstLettersAndCountsThemAll) {
  TextConverter converter({}, 3);
  ASSERT_TRUE(converter.Feed("שלום עולם"));
  ASSERT_TRUE(converter.Finish());
  EXPECT_EQ(converter.Letters(), Bytes("שלו"));
  EXPECT_EQ(converter.LetterCount(), 8u);
}

TEST(HebrewText, KeepsTheLettersOfPointedAndCantillatedText) {
  // Genesis 1:1 with points, cantillation marks and sof pasuq; final forms stay final.
  EXPECT_EQ(Hebrew("בְּרֵאשִׁ֖ית בָּרָ֣א אֱלֹהִ֑ים אֵ֥ת הַשָּׁמַ֖יִם וְאֵ֥ת הָאָֽרֶץ׃"), Bytes("בראשיתבראאלהיםאתהשמיםואתהארץ"));
  // Maqaf, paseq, punctuation, digits, Latin text, blanks and line breaks all go.
  EXPECT_EQ(Hebrew("עַל־פְּנֵ֥י ׀ (3) hello,\r\n\tמַיִם: \"x\" 42"), Bytes("עלפנימים"));
}

TEST(HebrewText, TurnsLigaturesAndPresentationFormsIntoTheirLetters) {
  struct Case {
    char32_t c;
    std::string letters;
  };
  const Case cases[] = {
      {U'\u05D0', Bytes("א")},  {U'\u05DA', Bytes("ך")},  {U'\u05EA', Bytes("ת")},
      {U'\u05F0', Bytes("וו")}, {U'\u05F2', Bytes("יי")}, {U'\uFB1D', Bytes("י")},
      {U'\uFB21', Bytes("א")},  {U'\uFB26', Bytes("ם")},  {U'\uFB2A', Bytes("ש")},
      {U'\uFB3A', Bytes("ך")},  {U'\uFB4B', Bytes("ו")},  {U'\uFB4F', Bytes("אל")},
      {U'\uFB1E', ""},          {U'\uFB37', ""},          {U'\uFB50', ""},
      {U'\u05BE', ""},          {U'\u05C3', ""},          {U'\u05EF', ""},
      {U'\u05B0', ""},          {U'\u0591', ""},          {U'A', ""},
  };
  for (const Case& c : cases) {
    std::string bytes;
    AppendHebrewLetters(std::u32string(1, c.c), bytes);
    EXPECT_EQ(bytes, c.letters) << std::hex << static_cast<unsigned>(c.c);
  }
}

TEST(MichiganClaremont, MapsEachConsonantAndWritesFinalFormsAtWordEnds) {
  EXPECT_EQ(Mc(")BGDHWZX+YKLMNS(PCQR$T"), Bytes("אבגדהוזחטיכלמנסעפצקרשת"))
      << "inside a word every letter keeps its regular form";
  struct Case {
    std::string text;
    std::string letters;
  };
  const Case cases[] = {
      {"BR)$YT BR) )LHYM", Bytes("בראשיתבראאלהים")},
      {"MLK MLKY", Bytes("מלךמלכי")},
      {"K M N P C", Bytes("ךםןףץ")},      // one-letter words
      {"MN-H(C", Bytes("מןהעץ")},         // the maqaf ends a word
      {"(M\r\nN", Bytes("עםן")},          // so does the line end
      {"(M\nN", Bytes("עםן")},            // a line feed alone
      {"(M\rN", Bytes("עםן")},            // a lone CR
      {"(M N", Bytes("עםן")},             // a blank
      {"(M\tN", Bytes("עםן")},            // a tab
      {"(M\fN", Bytes("עםן")},            // a form feed
      {"(M\vN", Bytes("עםן")},            // a vertical tab
      {"(M\t\f\v\r \nK", Bytes("עםך")},   // a run of them ends the word once
      {"M1L2K3 5", Bytes("מלך")},         // accent digits stay inside the word
      {"B.:R;)$I73YT", Bytes("בראשית")},  // vowel codes are dropped
      {"&DH", Bytes("שדה")},              // & is sin
      {"1 1 1 ", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Mc(c.text), c.letters) << c.text;
  }
}

TEST(VerseReference, FindsTheReferenceAtTheStartOfALine) {
  struct Case {
    std::string line;
    std::string rest;
  };
  const Case cases[] = {
      {"1:1 בְּרֵאשִׁית בָּרָא", "בְּרֵאשִׁית בָּרָא"},
      {"  12:7\tויאמר", "ויאמר"},
      {"Gen 1:1 בראשית", "בראשית"},
      {"בראשית 1:1 בראשית ברא", "בראשית ברא"},
      {"1 1 1 BR)$YT BR)", "BR)$YT BR)"},
      {"GEN 1:1 BR)$YT", "BR)$YT"},
      {"א:א בראשית", "בראשית"},
      {"{א} בראשית", "בראשית"},
      {"(בראשית א, א) בראשית", "בראשית"},
      {"בראשית א׳ ב׳ בראשית", "בראשית"},
      {"בראשית פרק א׳ בראשית", "בראשית"},
      {"קכ\"ג ויאמר", "ויאמר"},
      // no reference in the first three words: the line stays whole
      {"בראשית ברא אלהים את השמים 1:1", "בראשית ברא אלהים את השמים 1:1"},
      {"בְּרֵאשִׁית: בָּרָא", "בְּרֵאשִׁית: בָּרָא"},
      {"Song of Songs 1:1 שיר", "Song of Songs 1:1 שיר"},
      {"", ""},
      // the text's own short word with a comma is not taken for a second number
      {"1:1 לו, אמר", "לו, אמר"},
      {"א:א לו, אמר", "לו, אמר"},
      // but a line of a reference alone is all reference
      {"1:1", ""},
      // the text's own punctuation after a short word makes no numeral of it
      {"ויאמר משה: שלחו את עמי", "ויאמר משה: שלחו את עמי"},
      {"אמר לו, כן", "אמר לו, כן"},
      {"כי טוב. ויהי ערב", "כי טוב. ויהי ערב"},
      {"אם כן; לא", "אם כן; לא"},
      {"לו, אמר", "לו, אמר"},
      {"משה: קום", "משה: קום"},
      {"מה זה? לא", "מה זה? לא"},
      // while a numeral with the shape of one is a reference
      {"בראשית א:ב ויאמר", "ויאמר"},
      {"ב,ג ויאמר", "ויאמר"},
      {"שמות ב׳ ויאמר", "ויאמר"},
      {"[יב] ויאמר", "ויאמר"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithoutVerseReference(U32(c.line)), U32(c.rest)) << c.line;
  }
}

TEST(Conversion, DropsReferencesLineByLineOnlyWhenAsked) {
  const std::string text = "בראשית 1:1 בראשית ברא\r\nבראשית 1:2 והארץ\n";
  EXPECT_EQ(ConvertText(text, {TextForm::kHebrewUnicode, true}).letters, Bytes("בראשיתבראוהארץ"));
  EXPECT_EQ(ConvertText(text, {TextForm::kHebrewUnicode, false}).letters,
            Bytes("בראשיתבראשיתבראבראשיתוהארץ"));
  EXPECT_EQ(ConvertText("GEN 1:1 MLK\nGEN 1:2 MLK", {TextForm::kMichiganClaremont, true}).letters,
            Bytes("מלךמלך"));
  EXPECT_EQ(ConvertText("GEN 1:1 MLK", {TextForm::kMichiganClaremont, false}).letters,
            Bytes("גןמלך"))
      << "without the option a book name in capitals is read as letters";
}

TEST(VerseReference, ReadsTheBookAndTheNumbersOfTheReference) {
  struct Case {
    std::string line;
    std::vector<std::string> book;
    std::vector<std::int32_t> numbers;
  };
  const Case cases[] = {
      {"1:7 בראשית", {}, {1, 7}},
      {"1 2 3 BR)$YT", {}, {1, 2, 3}},
      {"Gen 12:7 ויאמר", {"Gen"}, {12, 7}},
      {"בראשית א׳ ב׳ בראשית", {"בראשית"}, {1, 2}},
      {"בראשית פרק א׳ ב׳ בראשית", {"בראשית"}, {1, 2}},
      {"(בראשית א, א) בראשית", {"בראשית"}, {1, 1}},
      {"{ק\"כ} ויאמר", {}, {120}},
      {"{טו} ויאמר", {}, {15}},
      {"1:1a ויאמר", {}, {1}},  // no reference: "1:1a" is no number word
  };
  for (const Case& c : cases) {
    const std::optional<LeadingReference> reference = ReadVerseReference(U32(c.line));
    if (c.line == "1:1a ויאמר") {
      EXPECT_FALSE(reference.has_value());
      continue;
    }
    ASSERT_TRUE(reference.has_value()) << c.line;
    std::vector<std::string> book;
    for (const std::u32string& word : reference->book_words) {
      book.push_back(Utf32ToUtf8(word));
    }
    EXPECT_EQ(book, c.book) << c.line;
    EXPECT_EQ(reference->numbers, c.numbers) << c.line;
  }
  EXPECT_EQ(BookName(1), "Genesis");
  EXPECT_EQ(BookName(5), "Deuteronomy");
  EXPECT_EQ(BookName(6), "Book6");
}

// A verse starts at its line's first letter; its row comes from the numbers of the line.
TEST(Conversion, GivesTheVersesOfTheReferences) {
  const Conversion mc = ConvertText("1 1 1 BR)$YT BR)\n1 1 2 WH)RC\n\n2 1 1 W)LH\n",
                                    {TextForm::kMichiganClaremont, false});
  EXPECT_EQ(mc.verses, (std::vector<Verse>{
                           {"Genesis", 1, 1, 1}, {"Genesis", 1, 2, 10}, {"Exodus", 1, 1, 15}}));
  EXPECT_EQ(mc.verse_note, "");

  // Without a book name the books are counted: the next one starts again at 1:1.
  const Conversion utf8 =
      ConvertText("1:1 אב\n1:2 גד\n2:1 הו\n1:1 זח\n1:2 \n1:3 טי", {TextForm::kHebrewUnicode, true});
  EXPECT_EQ(utf8.verses, (std::vector<Verse>{{"Genesis", 1, 1, 1},
                                             {"Genesis", 1, 2, 3},
                                             {"Genesis", 2, 1, 5},
                                             {"Exodus", 1, 1, 7},
                                             {"Exodus", 1, 3, 9}}))
      << "a verse without letters starts nowhere";

  const Conversion named = ConvertText("Gen 1:1 אב\nGen 1:2 גד", {TextForm::kHebrewUnicode, true});
  EXPECT_EQ(named.verses, (std::vector<Verse>{{"Gen", 1, 1, 1}, {"Gen", 1, 2, 3}}));

  // References are read only where they are dropped from the letters.
  EXPECT_TRUE(ConvertText("1:1 אב", {TextForm::kHebrewUnicode, false}).verses.empty());
  EXPECT_TRUE(ConvertText("GEN 1:1 MLK", {TextForm::kMichiganClaremont, false}).verses.empty());

  const Conversion verse_only = ConvertText("1:1 אב\n{ב} גד", {TextForm::kHebrewUnicode, true});
  EXPECT_TRUE(verse_only.verses.empty());
  EXPECT_EQ(verse_only.verse_note,
            "line 2 has a reference that gives no chapter and verse, so no verse index was "
            "written");
}

TEST(Conversion, TheIndexHoldsTheVersesWithinTheLettersWritten) {
  const std::vector<Verse> verses = {{"Genesis", 1, 1, 1}, {"Genesis", 1, 2, 10}};
  EXPECT_EQ(VerseIndexText(verses, 10), "Genesis 1 1 1\nGenesis 1 2 10\n");
  EXPECT_EQ(VerseIndexText(verses, 9), "Genesis 1 1 1\n");
  EXPECT_EQ(VerseIndexText({}, 9), "");
}

TEST(Conversion, RefusesTextThatIsNotUtf8) {
  const Conversion conversion =
      ConvertText("שלום\n\xF9\xEC\xE5\xED\n", {TextForm::kHebrewUnicode, false});
  EXPECT_TRUE(conversion.letters.empty());
  EXPECT_EQ(conversion.failure,
            "it is not UTF-8 text: line 2 (byte 10) holds a byte that starts no UTF-8 character");
}

TEST(TextLength, JudgesTheNumberOfLetters) {
  struct Case {
    std::size_t letters;
    bool truncate;
    LengthVerdict verdict;
    std::size_t kept;
  };
  constexpr std::size_t kFull = TEXT_LENGTH;
  const Case cases[] = {
      {0, false, LengthVerdict::kEmpty, 0},
      {1, false, LengthVerdict::kShort, 1},
      {kFull - 1, true, LengthVerdict::kShort, kFull - 1},
      {kFull, false, LengthVerdict::kComplete, kFull},
      {kFull, true, LengthVerdict::kComplete, kFull},
      {kFull + 1, false, LengthVerdict::kTooLong, kFull + 1},
      {kFull + 1, true, LengthVerdict::kTruncated, kFull},
  };
  for (const Case& c : cases) {
    std::string letters(c.letters, '\x80');
    if (!letters.empty()) {
      letters.back() = '\x81';
    }
    EXPECT_EQ(FitToTextLength(letters, c.truncate), c.verdict) << c.letters;
    EXPECT_EQ(letters.size(), c.kept) << c.letters;
    if (c.verdict == LengthVerdict::kTruncated) {
      EXPECT_EQ(letters.back(), '\x80') << "the first letters are kept, not the last";
    }
  }
}

}  // namespace
}  // namespace quorel::mkdsf
