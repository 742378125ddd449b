// The converter's reading of Hebrew texts: UTF-8 decoding, Hebrew letters, the
// Michigan-Claremont transliteration and verse references.
#include <gtest/gtest.h>

#include <string>

#include "text/letter_text.h"
#include "tools/mkdsf/conversion.h"
#include "tools/mkdsf/hebrew_text.h"
#include "tools/mkdsf/michigan_claremont.h"
#include "tools/mkdsf/text_length.h"
#include "tools/mkdsf/utf8_decoder.h"
#include "tools/mkdsf/verse_reference.h"

namespace quorel::mkdsf {
namespace {

// The data-file bytes of a text written in Hebrew letters (UTF-8 in the source).
std::string Bytes(std::string_view hebrew_utf8) {
  std::u32string letters;
  EXPECT_FALSE(DecodeUtf8(hebrew_utf8, letters).has_value());
  std::string bytes;
  for (const char32_t c : letters) {
    EXPECT_TRUE(c >= 0x05D0 && c <= 0x05EA)
        << "not a letter: " << std::hex << static_cast<unsigned>(c);
    bytes.push_back(static_cast<char>(0x80 + (c - 0x05D0)));
  }
  return bytes;
}

std::string Hebrew(std::string_view utf8) {
  return ConvertText(utf8, {TextForm::kHebrewUnicode, false}).letters;
}

std::string Mc(std::string_view text) {
  return ConvertText(text, {TextForm::kMichiganClaremont, false}).letters;
}

std::u32string U32(std::string_view utf8) {
  std::u32string out;
  EXPECT_FALSE(DecodeUtf8(utf8, out).has_value());
  return out;
}

TEST(Utf8Decoder, DecodesEveryLengthOfSequence) {
  std::u32string out;
  EXPECT_FALSE(DecodeUtf8("a\xD7\x90\xE2\x82\xAC\xF0\x9F\x98\x80", out).has_value());
  EXPECT_EQ(out, U"a\u05D0\u20AC\U0001F600");
}

TEST(Utf8Decoder, NamesTheLineAndByteOfTheFirstMalformedSequence) {
  struct Case {
    std::string text;
    std::size_t line;
    std::size_t offset;
  };
  const Case cases[] = {
      {"\x80", 1, 0},              // a continuation byte with no lead
      {"ab\ncd\n\xD7", 3, 6},      // cut off at the end of the text
      {"\xD7\x90\xD7 x", 1, 2},    // lead byte followed by no continuation
      {"\xC0\xAF", 1, 0},          // overlong form of '/'
      {"\xED\xA0\x80", 1, 0},      // a surrogate
      {"\xF4\x90\x80\x80", 1, 0},  // past U+10FFFF
      {"\xFF", 1, 0},              // never in UTF-8
      {"\xE0\xF9\xE5\xED", 1, 0},  // Windows-1255 Hebrew
  };
  for (const Case& c : cases) {
    std::u32string out;
    const auto error = DecodeUtf8(c.text, out);
    ASSERT_TRUE(error.has_value()) << c.text;
    EXPECT_EQ(error->line, c.line) << c.text;
    EXPECT_EQ(error->offset, c.offset) << c.text;
  }
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
