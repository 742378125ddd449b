// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/skip_range.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_window.h"

namespace quorel {
namespace {

using test::FakeWindow;

constexpr char kMinNotPositive[] = "Min skip size must be numeric and positive - set to 2";
constexpr char kMinTooBig[] = "Max skip size is too big - set to 2";
std::string MaxBelowMin(int n) {
  return "Max skip size must be numeric and larger than min skip - set to " + std::to_string(n);
}
std::string MaxTooBig(int n) {
  return "Max skip size is too big - set to " + std::to_string(n);
}

struct RangeCase {
  std::u16string min_typed;
  std::u16string max_typed;
  std::vector<std::string> messages;
  std::int32_t min_skip;
  std::int32_t max_skip;
};

TEST(ReadSkipRange, CorrectsEachBadValueWithItsMessageInOrder) {
  const RangeCase cases[] = {
      {u"2", u"20", {}, 2, 20},
      {u"1", u"20", {}, 1, 20},
      {u"", u"", {kMinNotPositive, MaxBelowMin(12)}, 2, 12},
      {u"0", u"20", {kMinNotPositive}, 2, 20},
      {u"-3", u"20", {kMinNotPositive}, 2, 20},
      {u"abc", u"20", {kMinNotPositive}, 2, 20},
      {u"2147483648", u"20", {kMinNotPositive}, 2, 20},
      {u"40000", u"20", {kMinTooBig}, 2, 20},
      {u"30481", u"20", {kMinTooBig}, 2, 20},
      {u"30480", u"30480", {}, 30480, 30480},
      {u"5", u"3", {MaxBelowMin(15)}, 5, 15},
      {u"5", u"40000", {MaxTooBig(15)}, 5, 15},
      {u"5", u"5", {}, 5, 5},
      {u"1", u"0", {MaxBelowMin(11)}, 1, 11},
      {u"40000", u"40000", {kMinTooBig, MaxTooBig(12)}, 2, 12},
      {u"30480", u"30481", {MaxTooBig(30490)}, 30480, 30490},
      {u"3.5", u"7.5", {}, 4, 8},
      {u"3.50", u"7.500", {}, 4, 8},  // a half with trailing zeros is still a half
      {u"4.50", u"12.5000", {}, 4, 12},
      {u"2.5", u"x", {MaxBelowMin(12)}, 2, 12},
      {u"  7  ", u"12", {}, 7, 12},
      {u"-5", u"-1", {kMinNotPositive, MaxBelowMin(12)}, 2, 12},
  };
  for (const RangeCase& c : cases) {
    FakeWindow window(u"", c.min_typed, c.max_typed);
    const SkipRange range = ReadSkipRange(window);
    const std::string name = Utf16ToUtf8(c.min_typed) + " / " + Utf16ToUtf8(c.max_typed);
    EXPECT_EQ(window.messages, c.messages) << name;
    EXPECT_EQ(range.MinSkip, c.min_skip) << name;
    EXPECT_EQ(range.MaxSkip, c.max_skip) << name;
    EXPECT_EQ(window.boxes[Box::Text3], c.min_typed) << "the box keeps what was typed";
    EXPECT_EQ(window.boxes[Box::Text2], c.max_typed) << "the box keeps what was typed";
  }
}

TEST(ConvertWholeNumber, ReadsPlainFormsAndRoundsHalvesToEven) {
  const std::pair<std::u16string, std::optional<std::int32_t>> cases[] = {
      {u"0", 0},
      {u"+17", 17},
      {u"-17", -17},
      {u"007", 7},
      {u" 12 ", 12},
      {u"2.5", 2},
      {u"3.5", 4},
      {u"0.5", 0},
      {u"-2.5", -2},
      {u"2.5000000000000000000001", 3},
      {u"2.50", 2},  // trailing zeros leave a half a half: to the even neighbour
      {u"3.500", 4},
      {u"0.50", 0},
      {u".50", 0},
      {u"-2.500", -2},
      {u"-3.50", -4},
      {u"2.5000000000000000000000", 2},
      {u"2147483646.50", 2147483646},
      {u"2147483647.50", std::nullopt},
      {u"-2147483648.50", -2147483648},
      {u"2.4999999999999999999999", 2},
      {u"5.", 5},
      {u".6", 1},
      {u"2147483647", 2147483647},
      {u"-2147483648", -2147483648},
      {u"2147483647.4", 2147483647},
      {u"2147483647.5", std::nullopt},
      {u"-2147483648.5", -2147483648},
      {u"-2147483648.6", std::nullopt},
      {u"99999999999999999999999999999999999999", std::nullopt},
      {u"", std::nullopt},
      {u"   ", std::nullopt},
      {u"+", std::nullopt},
      {u"-", std::nullopt},
      {u".", std::nullopt},
      {u"1e3", std::nullopt},
      {u"0x10", std::nullopt},
      {u"1,000", std::nullopt},
      {u"1 2", std::nullopt},
      {u"- 3", std::nullopt},
      {u"1.2.3", std::nullopt},
      {u"\t5", std::nullopt},
      {u"\u0665", std::nullopt},  // an Arabic-Indic digit
      {u"\uFF15", std::nullopt},  // a full-width digit
      {std::u16string(u"5\0", 2), std::nullopt},
  };
  for (const auto& [typed, value] : cases) {
    EXPECT_EQ(ConvertWholeNumber(typed), value) << Utf16ToUtf8(typed);
  }
}

TEST(ConvertWholeNumber, HandlesVeryLongTexts) {
  EXPECT_EQ(ConvertWholeNumber(std::u16string(1'000'000, u'0') + u"42"), 42);
  EXPECT_EQ(ConvertWholeNumber(u"7." + std::u16string(1'000'000, u'9')), 8);
  EXPECT_EQ(ConvertWholeNumber(std::u16string(1'000'000, u'9')), std::nullopt);
}

}  // namespace
}  // namespace quorel
