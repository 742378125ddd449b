// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/context_view.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_window.h"

namespace quorel {
namespace {

constexpr std::int32_t T = TEXT_LENGTH;

// A full text whose letters vary from position to position.
LetterText VariedText() {
  std::string bytes(T, '\0');
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    bytes[k] = static_cast<char>(0x80 + (k * 7 + k / 27) % 27);
  }
  std::string failure;
  return *LetterTextFromBytes(bytes, failure);
}

class ContextViewTest : public ::testing::Test {
 protected:
  // L(a, b): the letters at positions a..b, one after the other.
  std::u16string L(std::int32_t a, std::int32_t b) const {
    return std::u16string(text_.Letters().substr(a - 1, b - a + 1));
  }
  std::u16string L(std::int32_t a) const { return L(a, a); }
  static std::u16string Blanks(std::size_t n) { return std::u16string(n, u' '); }
  static std::u16string Row(const std::u16string& before, const std::u16string& centre,
                            const std::u16string& after) {
    EXPECT_EQ(before.size(), 25u);
    EXPECT_EQ(after.size(), 25u);
    return u"\u05D0   " + before + u" " + centre + u" " + after + u"   \u05D0\r\n";
  }
  std::u16string FullRow(std::int32_t k) const {
    return Row(L(k - 25, k - 1), L(k), L(k + 1, k + 25));
  }

  LetterText text_ = VariedText();
};

TEST_F(ContextViewTest, HeaderNamesSkipAndPosition) {
  EXPECT_EQ(FindHeader({7, 1234, 4}), u"Skip: 7\r\nPosition: 1234 of 304805\r\n");
}

TEST_F(ContextViewTest, AreaViewOfAFindNearTheStart) {
  const Find find{7, 30, 3};
  std::u16string expected = u"\r\n";
  expected += Row(Blanks(24) + L(1), L(2), L(3, 27));
  expected += Row(Blanks(17) + L(1, 8), L(9), L(10, 34));
  expected += Row(Blanks(10) + L(1, 15), L(16), L(17, 41));
  expected += Row(Blanks(3) + L(1, 22), L(23), L(24, 48)) + u"\r\n";
  expected += Row(L(5, 29), L(30), L(31, 55));
  expected += Row(L(12, 36), L(37), L(38, 62));
  expected += Row(L(19, 43), L(44), L(45, 69)) + u"\r\n";
  for (std::int32_t k = 51; k <= 114; k += 7) {
    expected += FullRow(k);
  }
  expected += u"\r\n";
  EXPECT_EQ(AreaView(text_, find), expected);
}

TEST_F(ContextViewTest, OneLineViewOfAFindNearTheStart) {
  std::u16string expected =
      u"Result: " + L(2) + L(9) + L(16) + L(23) + u" " + L(30) + L(37) + L(44) + u" ";
  for (std::int32_t k = 51; k <= 114; k += 7) {
    expected += L(k);
  }
  EXPECT_EQ(OneLineView(text_, {7, 30, 3}), expected + u"\r\n\r\n");
}

TEST_F(ContextViewTest, FindAtPositionOne) {
  const std::u16string area = AreaView(text_, {5, 1, 2});
  EXPECT_EQ(area.substr(0, 4 + 63), u"\r\n\r\n" + Row(Blanks(25), L(1), L(2, 26)));
  EXPECT_EQ(OneLineView(text_, {5, 1, 2}).substr(0, 11), u"Result:  " + L(1) + L(6));
}

TEST_F(ContextViewTest, FindNearTheEnd) {
  const Find find{2, T - 15, 4};
  const std::u16string area = AreaView(text_, find);
  const std::u16string last_row = Row(L(T - 26, T - 2), L(T - 1), L(T) + Blanks(24));
  EXPECT_EQ(area.substr(area.size() - last_row.size() - 2), last_row + u"\r\n");
  const std::u16string find_last_row = Row(L(T - 34, T - 10), L(T - 9), L(T - 8, T) + Blanks(16));
  EXPECT_NE(area.find(find_last_row + u"\r\n"), std::u16string::npos);
  // rows 1..10 and 15..18 are inside; 19..24 are not.
  EXPECT_EQ(area.size(), std::size_t(4 * 2 + (10 + 4 + 4) * 63));
  const std::u16string line = OneLineView(text_, find);
  EXPECT_EQ(line.substr(line.size() - 8), L(T - 7) + L(T - 5) + L(T - 3) + L(T - 1) + u"\r\n\r\n");
}

TEST_F(ContextViewTest, FindEndingOnTheLastLetter) {
  const Find find{3, T - 3, 2};
  const std::u16string area = AreaView(text_, find);
  EXPECT_EQ(area.substr(area.size() - 63 - 4),
            Row(L(T - 25, T - 1), L(T), Blanks(25)) + u"\r\n\r\n");
  const std::u16string line = OneLineView(text_, find);
  EXPECT_EQ(line.substr(line.size() - 7), L(T - 3) + L(T) + u" \r\n\r\n");
}

TEST_F(ContextViewTest, TwoLetterWordHasBlankLinesAfterRowsTenAndTwelve) {
  const std::int32_t i = 50'000;
  const std::u16string area = AreaView(text_, {100, i, 2});
  std::u16string expected = u"\r\n";
  for (std::int32_t j = 1; j <= 22; ++j) {
    expected += FullRow(i + (j - 11) * 100);
    if (j == 10 || j == 12) {
      expected += u"\r\n";
    }
  }
  EXPECT_EQ(area, expected + u"\r\n");
  const std::u16string line = OneLineView(text_, {100, i, 2});
  const std::u16string find_letters = L(i) + L(i + 100);
  EXPECT_EQ(line.substr(8 + 10, 4), std::u16string(u" ").append(find_letters).append(u" "));
  EXPECT_EQ(line.size(), std::size_t(8 + 22 + 2 + 4));
}

// A backward find: row j is k = i + (j - 11) * Skip with Skip negative, so the rows walk down
// the text and the centre column reads the word from top to bottom. Near the start of the text
// the rows behind the find fall out, near the end the rows in front of it.
TEST_F(ContextViewTest, BackwardFindsWalkTheRowsDownTheText) {
  struct Case {
    std::int32_t skip;
    std::int32_t position;
    std::int64_t length;
  };
  const Case cases[] = {{-7, 50'000, 3}, {-7, 30, 3}, {-2, T - 3, 4}, {-1, 2, 2}, {-30490, T, 2}};
  for (const Case& c : cases) {
    const Find find{c.skip, c.position, c.length};
    std::u16string area = u"\r\n";
    std::u16string line = u"Result: ";
    for (std::int64_t j = 1; j <= c.length + 20; ++j) {
      const std::int64_t k = c.position + (j - 11) * c.skip;
      const bool inside = k >= 1 && k <= T;
      const auto p = static_cast<std::int32_t>(k);
      if (inside) {
        area += Row(k > 25 ? L(p - 25, p - 1)
                           : Blanks(static_cast<std::size_t>(26 - k)) + (k > 1 ? L(1, p - 1) : u""),
                    L(p),
                    k <= T - 25 ? L(p + 1, p + 25)
                                : (k < T ? L(p + 1, T) : u"") +
                                      Blanks(static_cast<std::size_t>(k + 25 - T)));
      }
      area += j == 10 || j == c.length + 10 ? u"\r\n" : u"";
      line += j == 11 ? u" " : u"";
      line += inside ? L(p) : u"";
      line += j == c.length + 10 ? u" " : u"";
    }
    EXPECT_EQ(AreaView(text_, find), area + u"\r\n") << c.skip << " " << c.position;
    EXPECT_EQ(OneLineView(text_, find), line + u"\r\n\r\n") << c.skip << " " << c.position;
  }
  EXPECT_EQ(FindHeader({-50, 7, 4}), u"Skip: -50\r\nPosition: 7 of 304805\r\n");
}

TEST_F(ContextViewTest, CheckStateChoosesTheViewOnceperFind) {
  const Find find{7, 30, 3};
  for (const int state : {kUnchecked, kChecked, kGreyed}) {
    test::FakeWindow window(u"", u"", u"");
    window.check_state = state;
    AppendContextView(window, text_, find);
    EXPECT_EQ(window.check_reads, 1);
    EXPECT_EQ(window.boxes[Box::Text4],
              state == kUnchecked ? OneLineView(text_, find) : AreaView(text_, find));
  }
}

TEST_F(ContextViewTest, LongestFindTextBoundsEveryView) {
  for (const std::int64_t len : {2, 3, 7, 40}) {
    const Find find{1, 1000, len};
    EXPECT_LE(FindHeader({30490, 304805, len}).size() + AreaView(text_, find).size(),
              LongestFindText(len));
  }
}

}  // namespace
}  // namespace quorel
