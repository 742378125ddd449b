// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_window.h"
#include "search/context_view.h"
#include "search/result_box_sink.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using test::DataFileBytes;
using test::FakeWindow;
using test::TempDir;

constexpr char16_t kAlef = u'\u05D0';
constexpr char16_t kBet = u'\u05D1';
constexpr char16_t kGimel = u'\u05D2';
constexpr char16_t kDalet = u'\u05D3';

// A text of dalets with the given letters placed at 1-based positions.
std::u16string TextWith(std::initializer_list<std::pair<std::int32_t, char16_t>> placed,
                        std::size_t length = TEXT_LENGTH) {
  std::u16string text(length, kDalet);
  for (const auto& [position, letter] : placed) {
    text[static_cast<std::size_t>(position - 1)] = letter;
  }
  return text;
}

// The (skip, position) pairs of the find headers in the result text, in order.
std::vector<std::pair<int, int>> HeadersOf(const std::string& result) {
  std::vector<std::pair<int, int>> finds;
  std::size_t at = 0;
  while ((at = result.find("Skip: ", at)) != std::string::npos) {
    int skip = 0;
    int position = 0;
    std::sscanf(result.c_str() + at, "Skip: %d\r\nPosition: %d of 304805\r\n", &skip, &position);
    finds.emplace_back(skip, position);
    ++at;
  }
  return finds;
}

class SearchRunTest : public ::testing::Test {
 protected:
  RunOutcome Run(FakeWindow& window, const std::u16string& letters) {
    return Command1_Click(window, dir_.Write("Quorel.DSF", DataFileBytes(letters)));
  }
  TempDir dir_;
};

TEST_F(SearchRunTest, ReportsFindsBySkipThenPosition) {
  const std::u16string text = TextWith({{20, kAlef},
                                        {23, kBet},
                                        {26, kGimel},  // skip 3
                                        {21, kAlef},
                                        {24, kBet},
                                        {27, kGimel},  // skip 3
                                        {40, kAlef},
                                        {42, kBet},
                                        {44, kGimel},  // skip 2
                                        {1, kAlef},
                                        {6, kBet},
                                        {11, kGimel}});  // skip 5
  FakeWindow window(u"\u05D0\u05D1\u05D2", u"1", u"5");
  EXPECT_EQ(Run(window, text), RunOutcome::kDone);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)),
            (std::vector<std::pair<int, int>>{{2, 40}, {3, 20}, {3, 21}, {5, 1}}));
  EXPECT_EQ(window.Text(Box::Text5), "Done.");
  EXPECT_EQ(window.result_repaints, 1 + 4);
  EXPECT_FALSE(window.Aborted);
}

TEST_F(SearchRunTest, EachSkipShowsPumpsThenPollsInThatOrder) {
  FakeWindow window(u"\u05D0\u05D1", u"3", u"4");
  Run(window, TextWith({}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"repaint Text1", "progress 3", "repaint Text5",
                                                  "pump", "poll", "progress 4", "repaint Text5",
                                                  "pump", "poll", "progress Done."}));
}

TEST_F(SearchRunTest, FindEndingOnTheLastLetterAndLastStartLimits) {
  // At skip 1 the last start position is TEXT_LENGTH - 1 for a two-letter word.
  const std::u16string text = TextWith({{TEXT_LENGTH - 1, kAlef}, {TEXT_LENGTH, kBet}});
  FakeWindow window(u"\u05D0\u05D1", u"1", u"1");
  Run(window, text);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)),
            (std::vector<std::pair<int, int>>{{1, TEXT_LENGTH - 1}}));
}

TEST_F(SearchRunTest, SkipWithExactlyOneStartPosition) {
  // (TargetLen - 1) * Skip = 181 * 1684 = TEXT_LENGTH - 1: only start position 1 fits, and its
  // last letter is the last letter of the text.
  constexpr std::int32_t kSkip = 1684;
  std::u16string text(TEXT_LENGTH, kDalet);
  for (std::int32_t position = 1; position <= TEXT_LENGTH; position += kSkip) {
    text[static_cast<std::size_t>(position - 1)] = kAlef;
  }
  FakeWindow window(std::u16string(182, kAlef), u"1683", u"1685");
  EXPECT_EQ(Run(window, text), RunOutcome::kDone);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)), (std::vector<std::pair<int, int>>{{kSkip, 1}}));
}

TEST_F(SearchRunTest, SkipsWithNoStartPositionAreStillShownAndPolled) {
  FakeWindow window(std::u16string(TEXT_LENGTH + 1, kAlef), u"1", u"3");
  EXPECT_EQ(Run(window, std::u16string(TEXT_LENGTH, kAlef)), RunOutcome::kDone);
  EXPECT_TRUE(window.boxes[Box::Text4].empty());
  EXPECT_EQ(window.polls, 3);
  EXPECT_EQ(window.Text(Box::Text5), "Done.");
}

TEST_F(SearchRunTest, EscapeAtTheFirstPollAbortsWithNothingFound) {
  const std::u16string text = TextWith({{1, kAlef}, {3, kBet}});
  FakeWindow window(u"\u05D0\u05D1", u"", u"20");  // a skip message still comes
  window.escape_at_poll = [](int) { return true; };
  EXPECT_EQ(Run(window, text), RunOutcome::kAborted);
  EXPECT_EQ(window.messages.size(), 1u);
  EXPECT_TRUE(window.boxes[Box::Text4].empty());
  EXPECT_EQ(window.Text(Box::Text5), "Aborted.");
  EXPECT_FALSE(window.Aborted) << "the status step resets the flag";
  EXPECT_EQ(std::count(window.log.begin(), window.log.end(), "progress 2"), 1);

  window.escape_at_poll = nullptr;
  EXPECT_EQ(Run(window, text), RunOutcome::kDone);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)).size(), 1u);
}

TEST_F(SearchRunTest, AbortKeepsTheFindsOfEveryScannedSkip) {
  const std::u16string text = TextWith({{1, kAlef}, {3, kBet}, {4, kBet}, {6, kBet}});
  FakeWindow window(u"\u05D0\u05D1", u"2", u"9");
  window.escape_at_poll = [](int poll) { return poll == 3; };  // seen when skip 4 is on show
  EXPECT_EQ(Run(window, text), RunOutcome::kAborted);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)), (std::vector<std::pair<int, int>>{{2, 1}, {3, 1}}));
}

TEST_F(SearchRunTest, RefusedTargetEndsTheRunWithoutAStatusWord) {
  FakeWindow window(u"\u05D0x", u"0", u"20");
  window.boxes[Box::Text5] = u"earlier";
  EXPECT_EQ(Run(window, TextWith({})), RunOutcome::kTargetRefused);
  EXPECT_EQ(window.messages,
            (std::vector<std::string>{"Min skip size must be numeric and positive - set to 2",
                                      "Target should be Hebrew only"}));
  EXPECT_EQ(window.Text(Box::Text5), "earlier");
  EXPECT_EQ(window.Text(Box::Text1), "\u05D0x");
  EXPECT_EQ(window.polls, 0);
}

TEST_F(SearchRunTest, FailedLoadStopsBeforeTheSkipRangeIsRead) {
  FakeWindow window(u"\u05D0", u"0", u"0");
  window.boxes[Box::Text4] = u"old finds";
  const RunOutcome outcome =
      Command1_Click(window, dir_.Write("Quorel.DSF", std::string(TEXT_LENGTH + 1, '\x80')));
  EXPECT_EQ(outcome, RunOutcome::kLoadFailed);
  ASSERT_EQ(window.messages.size(), 1u) << "only the load's sentence, no skip message";
  EXPECT_NE(window.messages[0].find("Quorel.DSF"), std::string::npos);
  EXPECT_TRUE(window.boxes[Box::Text4].empty());
}

TEST_F(SearchRunTest, UserTypingAndCheckBoxDuringARunShapeLaterFinds) {
  const std::u16string text = TextWith({{1, kAlef}, {2, kBet}, {3, kBet}});
  FakeWindow window(u"\u05D0\u05D1", u"1", u"2");
  window.on_pump = [](FakeWindow& w) {
    if (w.Text(Box::Text5) == "2") {
      w.boxes[Box::Text4] += u"typed";
      w.check_state = kChecked;
      w.boxes[Box::Text1] = u"changed";
    }
  };
  Run(window, text);
  const std::string result = window.Text(Box::Text4);
  const std::size_t typed = result.find("typed");
  ASSERT_NE(typed, std::string::npos);
  EXPECT_EQ(result.substr(typed, 15), "typedSkip: 2\r\nP");
  EXPECT_NE(result.find("Result: "), std::string::npos);
  EXPECT_LT(result.find("Result: "), typed) << "the skip-1 find has the one-line view";
  EXPECT_NE(result.find("\u05D0   ", typed), std::string::npos)
      << "the skip-2 find has the area view";
  EXPECT_EQ(HeadersOf(result).size(), 2u);
}

TEST_F(SearchRunTest, ClosedWindowIsNotTouchedAgain) {
  FakeWindow window(u"\u05D0\u05D1", u"1", u"20");
  window.on_pump = [](FakeWindow& w) { w.gone = true; };
  EXPECT_EQ(Run(window, TextWith({{1, kAlef}, {2, kBet}})), RunOutcome::kWindowGone);
  EXPECT_EQ(window.log.back(), "pump");
  EXPECT_EQ(window.Text(Box::Text5), "1");
}

// The room a find of a 2-letter word must find left in the result box before it is shown, the
// most its text can take: a header of at most 64 characters, and the area view's 22 rows of
// 63 characters (the framed row and its line break) with 4 more line breaks of 2 characters.
constexpr std::size_t kRoomForAFindOfTwoLetters = 64 + 22 * 63 + 4 * 2;

TEST_F(SearchRunTest, FullResultBoxStopsWithAMessageAndAborted) {
  // Finds of אב at skips 1, 2 and 3, all at position 1.
  const std::u16string text = TextWith({{1, kAlef}, {2, kBet}, {3, kBet}, {4, kBet}});
  // What the first two finds take in the box, measured in a box without limit.
  FakeWindow unlimited(u"\u05D0\u05D1", u"1", u"5");
  ASSERT_EQ(Run(unlimited, text), RunOutcome::kDone);
  const std::size_t two_finds = unlimited.boxes[Box::Text4].find(u"Skip: 3");
  ASSERT_NE(two_finds, std::u16string::npos);

  // One character short of the room the third find needs: the run stops before it.
  FakeWindow window(u"\u05D0\u05D1", u"1", u"5");
  window.capacity = two_finds + kRoomForAFindOfTwoLetters - 1;
  EXPECT_EQ(Run(window, text), RunOutcome::kResultBoxFull);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)), (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));
  EXPECT_EQ(window.messages,
            (std::vector<std::string>{
                "The result box is full: it shows 2 finds, and the search stopped at skip 3."}));
  EXPECT_EQ(window.Text(Box::Text5), "Aborted.");

  // Exactly that room: the third find is shown and the run ends as usual.
  FakeWindow roomy(u"\u05D0\u05D1", u"1", u"5");
  roomy.capacity = two_finds + kRoomForAFindOfTwoLetters;
  EXPECT_EQ(Run(roomy, text), RunOutcome::kDone);
  EXPECT_EQ(roomy.boxes[Box::Text4], unlimited.boxes[Box::Text4]);
  EXPECT_TRUE(roomy.messages.empty());
  EXPECT_EQ(roomy.Text(Box::Text5), "Done.");
}

TEST_F(SearchRunTest, EmptyDataFileFindsNothing) {
  FakeWindow window(u"\u05D0\u05D1", u"1", u"3");
  EXPECT_EQ(Command1_Click(window, dir_.Write("Quorel.DSF", "")), RunOutcome::kDone);
  EXPECT_TRUE(window.boxes[Box::Text4].empty());
}

TEST_F(SearchRunTest, FinalFormInTheTextNeverMatches) {
  const std::u16string text = TextWith({{1, kAlef}, {2, u'\u05DD'}});
  FakeWindow window(u"\u05D0\u05DD", u"1", u"1");
  Run(window, text);
  EXPECT_EQ(window.Text(Box::Text1), "\u05D0\u05DE");
  EXPECT_TRUE(window.boxes[Box::Text4].empty());
}

}  // namespace
}  // namespace quorel

namespace quorel {
namespace {

class WidenedRunTest : public SearchRunTest {
 protected:
  RunOutcome RunWith(FakeWindow& window, const std::u16string& letters,
                     const SearchOptions& options) {
    ResultBoxSink sink(window);
    return RunSearch(window, dir_.Write("Quorel.DSF", DataFileBytes(letters)), sink, options);
  }
};

TEST_F(WidenedRunTest, BothDirectionsComeBySkipMagnitudeNegativeFirstThenPosition) {
  const std::u16string text = TextWith({{20, kAlef},
                                        {23, kBet},  // forward at 3 from 20
                                        {50, kAlef},
                                        {47, kBet},  // backward at 3 from 50
                                        {30, kAlef},
                                        {28, kBet},  // backward at 2 from 30
                                        {60, kAlef},
                                        {57, kBet}});  // backward at 3 from 60
  FakeWindow window(u"\u05D0\u05D1", u"2", u"3");
  EXPECT_EQ(RunWith(window, text, {.both_directions = true}), RunOutcome::kDone);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)),
            (std::vector<std::pair<int, int>>{{-2, 30}, {-3, 50}, {-3, 60}, {3, 20}}));
  // One progress step and one poll per skip of the range, whatever the directions.
  EXPECT_EQ(window.polls, 2);
}

TEST_F(WidenedRunTest, ForwardOnlyByDefault) {
  const std::u16string text = TextWith({{50, kAlef}, {47, kBet}});
  FakeWindow window(u"\u05D0\u05D1", u"3", u"3");
  EXPECT_EQ(RunWith(window, text, {}), RunOutcome::kDone);
  EXPECT_TRUE(window.boxes[Box::Text4].empty());
}

TEST_F(WidenedRunTest, FoldedFinalFormsMatchButTheViewShowsTheTextsOwnLetter) {
  const std::u16string text = TextWith({{1, kAlef}, {2, u'\u05DD'}});
  FakeWindow window(u"\u05D0\u05DD", u"1", u"1");
  EXPECT_EQ(RunWith(window, text, {.fold_finals = true}), RunOutcome::kDone);
  EXPECT_EQ(HeadersOf(window.Text(Box::Text4)), (std::vector<std::pair<int, int>>{{1, 1}}));
  EXPECT_NE(window.Text(Box::Text4).find("Result:  \u05D0\u05DD "), std::string::npos)
      << window.Text(Box::Text4);
}

}  // namespace
}  // namespace quorel
