// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of quorel-search on the real text: every find and every view in its output
// is checked against the data file's own bytes, by a reading of the format written here apart
// from the program's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using test::ProgramOutcome;
using test::TempDir;

constexpr long kLength = 304805;
const std::filesystem::path kRealText = QUOREL_SHARED_DATA "/Quorel.DSF";

using test::LetterUtf8;

class RealTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kRealText)) {
      GTEST_SKIP() << "the real text is not at " << kRealText;
    }
    bytes_ = test::ReadFile(kRealText);
    ASSERT_EQ(bytes_.size(), std::size_t(kLength));
    std::filesystem::copy_file(kRealText, dir_.path() / "Quorel.DSF");
  }

  ProgramOutcome Run(const std::string& arguments) {
    return test::Run(test::Call(QUOREL_SEARCH_PROGRAM, test::Words(arguments), dir_.path()));
  }

  // Letter at 1-based position p, or a blank outside the text.
  std::string At(long p) const {
    return p >= 1 && p <= kLength ? LetterUtf8(static_cast<unsigned char>(bytes_[p - 1])) : " ";
  }
  std::string Stretch(long from, long count) const {
    std::string text;
    for (long p = from; p < from + count; ++p) {
      text += At(p);
    }
    return text;
  }

  std::string OneLine(long skip, long i, long len) const {
    std::string line = "Result: ";
    for (long j = 1; j <= len + 20; ++j) {
      const long k = i + (j - 11) * skip;
      line += j == 11 ? " " : "";
      line += k >= 1 && k <= kLength ? At(k) : "";
      line += j == len + 10 ? " " : "";
    }
    return line + "\r\n\r\n";
  }

  std::string Area(long skip, long i, long len) const {
    std::string view = "\r\n";
    for (long j = 1; j <= len + 20; ++j) {
      const long k = i + (j - 11) * skip;
      if (k >= 1 && k <= kLength) {
        view += "\xD7\x90   " + Stretch(k - 25, 25) + " " + At(k) + " " + Stretch(k + 1, 25) +
                "   \xD7\x90\r\n";
      }
      view += j == 10 || j == len + 10 ? "\r\n" : "";
    }
    return view + "\r\n";
  }

  // Splits the result text into finds and checks each against the bytes, collecting (skip, i).
  // (A void function, so that ASSERT can end it.)
  void CheckFinds(const std::string& out, const std::string& word, long len, bool area,
                  std::vector<std::pair<long, long>>& finds) {
    std::size_t at = 0;
    while (at < out.size()) {
      // The header is two lines; a scanf blank would also eat the view's leading line breaks.
      long skip = 0;
      long i = 0;
      const std::size_t header_end = out.find("\r\n", out.find("\r\n", at) + 2);
      const std::string header = out.substr(at, header_end + 2 - at);
      ASSERT_EQ(std::sscanf(header.c_str(), "Skip: %ld\r\nPosition: %ld of 304805", &skip, &i), 2)
          << "at byte " << at;
      EXPECT_EQ(header, "Skip: " + std::to_string(skip) + "\r\nPosition: " + std::to_string(i) +
                            " of 304805\r\n");
      at = header_end + 2;
      std::string spelled;
      for (long j = 0; j < len; ++j) {
        spelled += At(i + j * skip);
      }
      EXPECT_EQ(spelled, word) << "skip " << skip << " position " << i;
      const std::string view = area ? Area(skip, i, len) : OneLine(skip, i, len);
      EXPECT_EQ(out.compare(at, view.size(), view), 0) << "skip " << skip << " position " << i;
      at += view.size();
      finds.emplace_back(skip, i);
    }
  }

  std::string bytes_;
  TempDir dir_;
};

const std::string kDefaultWord = "\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9";  // the window's default word

TEST_F(RealTextTest, EveryFindAndViewAgreesWithTheText) {
  for (const bool area : {false, true}) {
    const ProgramOutcome outcome = Run(std::string(area ? "--area " : "") + kDefaultWord + " 2 20");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "Done.\n");
    std::vector<std::pair<long, long>> finds;
    CheckFinds(outcome.out, kDefaultWord, 4, area, finds);
    EXPECT_EQ(finds.size(), 7u);
    EXPECT_TRUE(std::is_sorted(finds.begin(), finds.end()));
  }
}

TEST_F(RealTextTest, FindsOfEveryStartPositionAtSkipOne) {
  // Two common letters at skip 1: many finds, overlapping ones included.
  const std::string word = "\xD7\x99\xD7\x94";  // yod he
  const ProgramOutcome outcome = Run(word + " 1 1");
  EXPECT_EQ(outcome.status, 0);
  std::vector<std::pair<long, long>> finds;
  CheckFinds(outcome.out, word, 2, false, finds);
  long expected = 0;
  for (long i = 1; i < kLength; ++i) {
    expected += At(i) + At(i + 1) == word;
  }
  EXPECT_EQ(static_cast<long>(finds.size()), expected);
}

// --both adds the backward finds, each viewed by the same rows with a negative skip, and leaves
// the forward finds and their views exactly as the default output has them.
TEST_F(RealTextTest, BothDirectionsAddBackwardFindsAndKeepTheForwardOnes) {
  for (const bool area : {false, true}) {
    const std::string view = area ? "--area " : "";
    const ProgramOutcome forward = Run(view + kDefaultWord + " 2 20");
    const ProgramOutcome both = Run("--both " + view + kDefaultWord + " 2 20");
    EXPECT_EQ(both.status, 0);
    EXPECT_EQ(both.err, "Done.\n");
    std::vector<std::pair<long, long>> finds;
    CheckFinds(both.out, kDefaultWord, 4, area, finds);
    // Split the output into its finds again, keeping the forward ones.
    std::string forward_only;
    std::size_t at = 0;
    while (at < both.out.size()) {
      const std::size_t next = both.out.find("Skip: ", at + 1);
      const std::string find = both.out.substr(at, next - at);
      if (find.compare(0, 7, "Skip: -") != 0) {
        forward_only += find;
      }
      at = next == std::string::npos ? both.out.size() : next;
    }
    EXPECT_EQ(forward_only, forward.out);
    // By skip size, the backward skip first, then by position.
    const auto order = [](const std::pair<long, long>& a, const std::pair<long, long>& b) {
      const long size_a = std::labs(a.first);
      const long size_b = std::labs(b.first);
      return size_a != size_b     ? size_a < size_b
             : a.first != b.first ? a.first < b.first
                                  : a.second < b.second;
    };
    EXPECT_TRUE(std::is_sorted(finds.begin(), finds.end(), order));
    EXPECT_TRUE(std::any_of(finds.begin(), finds.end(), [](const auto& f) { return f.first < 0; }));
  }
}

TEST_F(RealTextTest, MessagesComeInOrderAndTheWordIsWrittenBack) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{"\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9", "40000", "40000"},
       0,
       "Max skip size is too big - set to 2\nMax skip size is too big - set to 12\nDone.\n"},
      {{"", "", ""},
       1,
       "Min skip size must be numeric and positive - set to 2\n"
       "Max skip size must be numeric and larger than min skip - set to 12\n"
       "Min target size must be at least 2\n"},
      {{" \xD7\x90 ", "5", "3"},
       1,
       "Max skip size must be numeric and larger than min skip - set to 15\n"
       "Min target size must be at least 2\n"},
      {{"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D x", "3.5", "7.5"}, 1, "Target should be Hebrew only\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + c.arguments[1] + " " + c.arguments[2]);
    const ProgramOutcome outcome =
        test::Run(test::Call(QUOREL_SEARCH_PROGRAM, c.arguments, dir_.path()));
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err, c.err);
  }
  // A final form in the typed word is searched as its regular form.
  const ProgramOutcome folded = Run("\xD7\x97\xD7\x95\xD7\xA3\xD7\xA9 2 20");  // final pe
  std::vector<std::pair<long, long>> finds;
  CheckFinds(folded.out, kDefaultWord, 4, false, finds);
  EXPECT_EQ(finds.size(), 7u);
}

}  // namespace
}  // namespace quorel
