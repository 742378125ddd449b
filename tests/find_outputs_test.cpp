// SPDX-License-Identifier: GPL-3.0-or-later
// The scripting outputs of quorel-search: the run's finds handed to another sink, as JSON
// objects or as counts beside the number expected by chance.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fake_window.h"
#include "search/context_view.h"
#include "search/search_run.h"
#include "temp_dir.h"
#include "tools/find_counts.h"
#include "tools/find_references.h"
#include "tools/json_finds.h"
#include "tools/output_stream.h"
#include "tools/reference_lines.h"

namespace quorel {
namespace {

using test::DataFileBytes;
using test::FakeWindow;
using test::TempDir;

constexpr char16_t kAlef = u'\u05D0';
constexpr char16_t kBet = u'\u05D1';
constexpr char16_t kDalet = u'\u05D3';
const std::u16string kAlefBet = u"\u05D0\u05D1";

// A full text of dalets with alef-bet at skips 1, 2 and 3, and alef-bet at skip 2 again.
std::string SmallText() {
  std::u16string text(TEXT_LENGTH, kDalet);
  const auto place = [&](std::int32_t position, std::int32_t skip) {
    text[static_cast<std::size_t>(position - 1)] = kAlef;
    text[static_cast<std::size_t>(position - 1 + skip)] = kBet;
  };
  place(100, 1);
  place(200, 2);
  place(300, 3);
  place(TEXT_LENGTH - 2, 2);
  return DataFileBytes(text);
}

struct Recorder final : FindSink {
  void Begin(const LetterText&, std::u16string_view word) override { target = word; }
  bool Take(const Find& find) override {
    finds.emplace_back(find.skip, find.position);
    return true;
  }
  void SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t count) override {
    skips.push_back({skip, start_positions, count});
  }
  struct Skip {
    std::int32_t skip;
    std::int64_t start_positions;
    std::size_t finds;
    bool operator==(const Skip&) const = default;
  };
  std::u16string target;
  std::vector<std::pair<int, int>> finds;
  std::vector<Skip> skips;
};

std::vector<std::pair<int, int>> HeadersOf(const std::string& result) {
  std::vector<std::pair<int, int>> finds;
  int skip = 0;
  int position = 0;
  for (std::size_t at = 0; (at = result.find("Skip: ", at)) != std::string::npos; ++at) {
    std::sscanf(result.c_str() + at, "Skip: %d\r\nPosition: %d", &skip, &position);
    finds.emplace_back(skip, position);
  }
  return finds;
}

TEST(RunSearch, HandsASinkTheSameFindsWithoutTheResultText) {
  TempDir dir;
  const auto file = dir.Write("Quorel.DSF", SmallText());
  FakeWindow run_window(u" \u05D0 \u05D1 ", u"0", u"3");
  Command1_Click(run_window, file);

  FakeWindow list_window(u" \u05D0 \u05D1 ", u"0", u"3");
  Recorder recorder;
  EXPECT_EQ(RunSearch(list_window, file, recorder), RunOutcome::kDone);

  EXPECT_EQ(recorder.finds, HeadersOf(run_window.Text(Box::Text4)));
  EXPECT_EQ(recorder.finds.size(), 3u);
  EXPECT_EQ(list_window.log, run_window.log) << "messages, progress, pumps and polls alike";
  EXPECT_EQ(list_window.messages.size(), 1u) << "the minimum skip 0 was set to 2";
  EXPECT_EQ(list_window.Text(Box::Text1), run_window.Text(Box::Text1));
  EXPECT_EQ(list_window.Text(Box::Text5), "Done.");
  EXPECT_EQ(list_window.Text(Box::Text4), "");
  EXPECT_EQ(list_window.result_repaints, run_window.result_repaints);

  EXPECT_EQ(recorder.target, kAlefBet) << "the prepared word";
  const std::vector<Recorder::Skip> skips = {{2, TEXT_LENGTH - 2, 2}, {3, TEXT_LENGTH - 3, 1}};
  EXPECT_EQ(recorder.skips, skips);
}

TEST(RunSearch, StopsTheSameWayWithAnySink) {
  TempDir dir;
  const auto file = dir.Write("Quorel.DSF", SmallText());

  FakeWindow escaped(kAlefBet, u"1", u"3");
  escaped.escape_at_poll = [](int poll) { return poll == 3; };
  Recorder recorder;
  EXPECT_EQ(RunSearch(escaped, file, recorder), RunOutcome::kAborted);
  EXPECT_EQ(recorder.finds,
            (std::vector<std::pair<int, int>>{{1, 100}, {2, 200}, {2, TEXT_LENGTH - 2}}));
  EXPECT_EQ(recorder.skips.size(), 2u);
  EXPECT_EQ(escaped.Text(Box::Text5), "Aborted.");
  EXPECT_FALSE(escaped.Aborted);

  FakeWindow refused(u"ab", u"1", u"3");
  refused.boxes[Box::Text5] = u"before";
  Recorder untouched;
  EXPECT_EQ(RunSearch(refused, file, untouched), RunOutcome::kTargetRefused);
  EXPECT_TRUE(untouched.skips.empty());
  EXPECT_EQ(refused.Text(Box::Text5), "before");

  FakeWindow missing(kAlefBet, u"1", u"3");
  EXPECT_EQ(RunSearch(missing, dir.path() / "absent.DSF", untouched), RunOutcome::kLoadFailed);
  EXPECT_EQ(missing.messages.size(), 1u);
  EXPECT_TRUE(untouched.skips.empty());
}

TEST(JsonFinds, EscapesWhatJsonRequires) {
  struct Case {
    std::u16string text;
    std::string json;
  };
  const Case cases[] = {
      {u"", "\"\""},
      {u"\u05D0 \u05D1", "\"\xD7\x90 \xD7\x91\""},
      {u"a\"b\\c", "\"a\\\"b\\\\c\""},
      {u"\r\n\x1F\x7F", "\"\\u000d\\u000a\\u001f\x7F\""},
      {u"\u20AC", "\"\xE2\x82\xAC\""},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendJsonString(c.text, out);
    EXPECT_EQ(out, c.json);
  }
}

std::string Captured(const std::function<void(OutputStream&)>& write) {
  std::FILE* file = std::tmpfile();
  {
    OutputStream out(fileno(file), "the test output");
    write(out);
  }
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) {
    text.push_back(static_cast<char>(c));
  }
  std::fclose(file);
  return text;
}

TEST(JsonFinds, WritesOneObjectPerFindWithTheOneLineViewsLetters) {
  std::string failure;
  const LetterText text = *LetterTextFromBytes(SmallText(), failure);
  const Find find{2, TEXT_LENGTH - 2, 2};
  const std::string json = Captured([&](OutputStream& out) {
    JsonFindWriter writer(out);
    writer.Begin(text, kAlefBet);
    writer.Take(find);
  });
  // The line is built here from the text alone: ten dalets before the find, nothing after the
  // last letter of the text. A writer that cut it out of the printed one-line view would break
  // the day that view's frame changes; OneLineLetters is what both share.
  std::string ten_dalets;
  for (int k = 0; k < 10; ++k) {
    ten_dalets += "\xD7\x93";
  }
  const std::string line = ten_dalets + " \xD7\x90\xD7\x91 ";
  EXPECT_EQ(json, "{\"skip\":2,\"position\":" + std::to_string(TEXT_LENGTH - 2) +
                      ",\"letters\":\"\xD7\x90\xD7\x91\",\"line\":\"" + line + "\"}\n");
  EXPECT_EQ(Utf16ToUtf8(OneLineLetters(text, find)), line);
  EXPECT_EQ(OneLineView(text, find), u"Result: " + OneLineLetters(text, find) + u"\r\n\r\n");
}

TEST(RunSearch, SkipsWhereALongWordHasNoStartPositionCountNoneAndExpectNone) {
  // A word of 12 letters spans 11 skips: at skip 27709 its last start position is 6, from
  // skip 27710 on it has none, and there every sink is told 0, never a negative number.
  const std::u16string word =
      u"\u05D0\u05D1\u05D2\u05D4\u05D5\u05D6\u05D7\u05D8\u05D9\u05DB\u05DC\u05DE";
  std::u16string letters(TEXT_LENGTH, kDalet);
  for (std::size_t k = 0; k < word.size(); ++k) {
    letters[5 + k * 27709] = word[k];  // the find at position 6 ends on the last letter
  }
  TempDir dir;
  const auto file = dir.Write("Quorel.DSF", DataFileBytes(letters));

  FakeWindow window(word, u"27708", u"27711");
  Recorder recorder;
  EXPECT_EQ(RunSearch(window, file, recorder), RunOutcome::kDone);
  EXPECT_EQ(recorder.finds, (std::vector<std::pair<int, int>>{{27709, 6}}));
  const std::vector<Recorder::Skip> skips = {
      {27708, 17, 0}, {27709, 6, 1}, {27710, 0, 0}, {27711, 0, 0}};
  EXPECT_EQ(recorder.skips, skips);

  FakeWindow counted(word, u"27708", u"27711");
  FindCounter counter;
  EXPECT_EQ(RunSearch(counted, file, counter), RunOutcome::kDone);
  std::string failure;
  const double chance =
      ChanceOfFind(*LetterTextFromBytes(DataFileBytes(letters), failure), word, false);
  ASSERT_GT(chance, 0.0);
  const std::string expected =
      "skip\tfinds\texpected\n27708\t0\t" + ExpectedNumberText(17 * chance) + "\n27709\t1\t" +
      ExpectedNumberText(6 * chance) + "\n27710\t0\t0\n27711\t0\t0\nall\t1\t" +
      ExpectedNumberText(23 * chance) + "\n";
  EXPECT_EQ(Captured([&](OutputStream& out) { counter.Write(out); }), expected);
}

TEST(FindCounts, ExpectsStartPositionsTimesTheLettersShares) {
  // A quarter of the text alefs, the rest bets.
  std::u16string letters(TEXT_LENGTH, kBet);
  std::fill(letters.begin(), letters.begin() + TEXT_LENGTH / 4, kAlef);
  std::string failure;
  const LetterText text = *LetterTextFromBytes(DataFileBytes(letters), failure);
  const double alef = (TEXT_LENGTH / 4) / double(TEXT_LENGTH);
  const double bet = 1 - alef;
  EXPECT_DOUBLE_EQ(ChanceOfFind(text, u"\u05D0\u05D1\u05D0", false), alef * bet * alef);
  EXPECT_DOUBLE_EQ(ChanceOfFind(text, u"\u05D2\u05D0", false), 0.0);

  const std::string table = Captured([&](OutputStream& out) {
    FindCounter counter;
    counter.Begin(text, u"\u05D0\u05D1");
    counter.SkipDone(5, 1000, 3);
    counter.SkipDone(6, 0, 0);
    counter.SkipDone(7, 2000, 1);
    counter.Write(out);
  });
  EXPECT_EQ(table, "skip\tfinds\texpected\n5\t3\t" + ExpectedNumberText(1000 * alef * bet) +
                       "\n6\t0\t0\n7\t1\t" + ExpectedNumberText(2000 * alef * bet) + "\nall\t4\t" +
                       ExpectedNumberText(3000 * alef * bet) + "\n");
}

// Expected numbers read as numbers at every size: no exponent, at least four significant
// digits, and %.4g's own text wherever that has no exponent.
TEST(FindCounts, ExpectedNumbersArePlainDecimalsAtEverySize) {
  const std::pair<double, std::string> cases[] = {
      {0, "0"},
      {0.5, "0.5"},
      {9.1, "9.1"},
      {9.14159, "9.142"},
      {1234.5, "1234"},  // %.4g rounds half to even here as printf does
      {9999.4, "9999"},
      {9999.6, "10000"},  // %.4g would write 1e+04
      {91403521.3, "91403521"},
      {9.14e7, "91400000"},
      {1.5e15, "1500000000000000"},
      {0.000123456, "0.0001235"},
      {0.0000123456, "0.00001235"},
      {1.2e-9, "0.0000000012"},
      {3e-7, "0.0000003"},
  };
  for (const auto& [expected, text] : cases) {
    EXPECT_EQ(ExpectedNumberText(expected), text) << expected;
  }
}

// The shares come from the letters the file held, and fold final forms when asked; a shorter
// file has fewer start positions at every skip.
TEST(FindCounts, FitTheFileThatWasLoaded) {
  // 1000 letters: 250 alefs, 250 final mems, 500 mems.
  std::u16string letters(1000, u'\u05DE');
  std::fill(letters.begin(), letters.begin() + 250, kAlef);
  std::fill(letters.begin() + 250, letters.begin() + 500, u'\u05DD');
  std::string failure;
  const LetterText text = *LetterTextFromBytes(DataFileBytes(letters), failure);
  EXPECT_DOUBLE_EQ(ChanceOfFind(text, u"\u05D0\u05DE", false), 0.25 * 0.5);
  EXPECT_DOUBLE_EQ(ChanceOfFind(text, u"\u05D0\u05DE", true), 0.25 * 0.75);
  EXPECT_EQ(FileStartPositions(1000, 3, 7), 1000 - 14);
  EXPECT_EQ(FileStartPositions(1000, 3, -7), 1000 - 14);
  EXPECT_EQ(FileStartPositions(1000, 3, 500), 0);

  TempDir dir;
  const auto file = dir.Write("Quorel.DSF", DataFileBytes(letters));
  FakeWindow window(u"\u05D0\u05DE", u"3", u"4");
  Recorder recorder;
  EXPECT_EQ(RunSearch(window, file, recorder, {.both_directions = true}), RunOutcome::kDone);
  const std::vector<Recorder::Skip> skips = {{-3, 997, 0}, {3, 997, 0}, {-4, 996, 0}, {4, 996, 0}};
  EXPECT_EQ(recorder.skips, skips);
}

// References: from the verse index beside the data file, of the word's first and last letters.
class ReferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // alef at 10 and 40, bet at 20 and 30: alef-bet at skip 10 forwards and backwards.
    std::u16string letters(60, kDalet);
    letters[9] = letters[39] = kAlef;
    letters[19] = letters[29] = kBet;
    file_ = dir_.Write("Quorel.DSF", DataFileBytes(letters));
  }

  std::string Run(bool json, FakeWindow& window) {
    return Captured([&](OutputStream& out) {
      FindReferences references(file_, [&window](std::u16string_view s) { window.ShowMessage(s); });
      JsonFindWriter json_writer(out, &references);
      ReferenceLineWriter line_writer(out, references);
      FindSink& sink = json ? static_cast<FindSink&>(json_writer) : line_writer;
      RunSearch(window, file_, sink, {.both_directions = true});
    });
  }

  TempDir dir_;
  std::filesystem::path file_;
};

TEST_F(ReferencesTest, NameTheVersesOfTheFirstAndLastLetters) {
  dir_.Write("Quorel.verses", "Genesis 1 1 5\nGenesis 1 2 25\nExodus 1 1 35\n");
  FakeWindow window(kAlefBet, u"10", u"10");
  EXPECT_EQ(Run(false, window),
            "-10\t40\tExodus 1:1\tGenesis 1:2\n10\t10\tGenesis 1:1\tGenesis 1:1\n");
  const std::string json = Run(true, window);
  EXPECT_NE(json.find("{\"skip\":-10,\"position\":40,\"letters\":\"\xD7\x90\xD7\x91\",\"line\":"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find(",\"from\":\"Exodus 1:1\",\"to\":\"Genesis 1:2\"}\n"), std::string::npos)
      << json;
  EXPECT_TRUE(window.messages.empty());

  dir_.Write("Quorel.verses", "Genesis 1 1 15\n");
  EXPECT_EQ(Run(false, window), "-10\t40\tGenesis 1:1\tGenesis 1:1\n10\t10\t-\tGenesis 1:1\n");
  EXPECT_NE(Run(true, window).find("\"from\":null,\"to\":\"Genesis 1:1\""), std::string::npos);
}

TEST_F(ReferencesTest, WithoutAFittingIndexNothingIsSaidOfVerses) {
  FakeWindow window(kAlefBet, u"10", u"10");
  EXPECT_EQ(Run(false, window), "-10\t40\n10\t10\n");
  EXPECT_EQ(Run(true, window).find("from"), std::string::npos);
  EXPECT_TRUE(window.messages.empty()) << "no index is no message";

  dir_.Write("Quorel.verses", "Genesis 1 1 5\nGenesis 1 2 61\n");
  EXPECT_EQ(Run(false, window), "-10\t40\n10\t10\n");
  EXPECT_EQ(window.messages,
            (std::vector<std::string>{"The verse index Quorel.verses was not used: line 2 puts a "
                                      "verse at position 61, past the data file's 60 letters."}));
}

}  // namespace
}  // namespace quorel
