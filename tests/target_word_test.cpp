// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/target_word.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "fake_window.h"
#include "literal_target_preparation.h"

namespace quorel {
namespace {

using test::FakeWindow;

struct TargetCase {
  std::u16string typed;
  std::u16string target;  // empty when refused
  std::string message;    // empty when prepared
};

TEST(PrepareTarget, PreparesOrRefusesAsTheTableSays) {
  const std::string too_short = "Min target size must be at least 2";
  const std::string not_hebrew = "Target should be Hebrew only";
  const TargetCase cases[] = {
      {u"\u05E9\u05DC\u05D5\u05DD", u"\u05E9\u05DC\u05D5\u05DE", ""},
      {u"\u05D1\u05D9\u05EA \u05E1\u05E4\u05E8", u"\u05D1\u05D9\u05EA\u05E1\u05E4\u05E8", ""},
      {u"\u05D0  \u05D1", u"\u05D0\u05D1", ""},
      {u"\u05DA \u05DD", u"\u05DB\u05DE", ""},
      {u"\u05DD\u05D0", u"\u05DE\u05D0", ""},
      {u"  \u05D0\u05D1\u05D2 ", u"\u05D0\u05D1\u05D2", ""},
      {u"\u05DF\u05E3\u05E5", u"\u05E0\u05E4\u05E6", ""},
      {u"\u05D0", u"", too_short},
      {u" \u05D0 ", u"", too_short},
      {u"", u"", too_short},
      {u"     ", u"", too_short},
      {u"c", u"", too_short},
      {u"\u05D0\u05D1c", u"", not_hebrew},
      {u"\u05D0\t\u05D1", u"", not_hebrew},
      {u"\u05D0\u05D1\t", u"", not_hebrew},
      {u"\u05D0\u05B8\u05D1", u"", not_hebrew},
      {u"\u05D0\u00A0\u05D1", u"", not_hebrew},
      {u"\u05E5 x", u"", not_hebrew},
      {u"\u05CF\u05D0", u"", not_hebrew},  // just below alef
      {u"\u05D0\u05EB", u"", not_hebrew},  // just above tav
      {u"\u05D0\u200F\u05D1", u"", not_hebrew},
      {std::u16string{u'\u05D0', char16_t(0xD800), u'\u05D1'}, u"",
       not_hebrew},                        // an unpaired surrogate
      {u"\u05D0\uFB2A", u"", not_hebrew},  // a presentation form
  };
  for (const TargetCase& c : cases) {
    FakeWindow window(c.typed, u"2", u"20");
    const std::optional<std::u16string> target = PrepareTarget(window);
    const std::string name = Utf16ToUtf8(c.typed);
    if (c.message.empty()) {
      ASSERT_TRUE(target.has_value()) << name;
      EXPECT_EQ(*target, c.target) << name;
      EXPECT_EQ(window.boxes[Box::Text1], c.target) << "Text1 shows what is searched: " << name;
      EXPECT_TRUE(window.messages.empty()) << name;
      EXPECT_EQ(window.log.back(), "repaint Text1");
    } else {
      EXPECT_FALSE(target.has_value()) << name;
      EXPECT_EQ(window.messages, std::vector<std::string>{c.message}) << name;
      EXPECT_EQ(window.boxes[Box::Text1], c.typed) << "Text1 stays as typed: " << name;
    }
  }
}

TEST(PrepareTarget, APreparedWordPreparesToItself) {
  FakeWindow window(u" \u05E9\u05DC \u05D5\u05DD", u"2", u"20");
  const std::u16string first = *PrepareTarget(window);
  EXPECT_EQ(*PrepareTarget(window), first);
}

// A pass restarted at every blank would take hours here and run into the test's time limit.
TEST(PrepareTargetText, PreparesAMillionCharactersHalfOfThemBlanks) {
  std::u16string typed;
  for (int k = 0; k < 500'000; ++k) {
    typed += k % 2 ? u'\u05DD' : u'\u05D0';
    typed += u' ';
  }
  const Preparation prepared = PrepareTargetText(typed);
  ASSERT_TRUE(std::holds_alternative<std::u16string>(prepared));
  EXPECT_EQ(std::get<std::u16string>(prepared).size(), 500'000u);
  EXPECT_EQ(std::get<std::u16string>(prepared).find(u'\u05DD'), std::u16string::npos);
  typed.back() = u'x';
  EXPECT_TRUE(std::holds_alternative<Refusal>(PrepareTargetText(typed)));
}

TEST(PrepareTargetText, AgreesWithTheStepByStepPassOnRandomInputs) {
  // Blanks, regular and final letters, the letters' neighbours, a tab and a no-break space.
  const std::u16string_view alphabet =
      u"   \u05D0\u05D1\u05DA\u05DB\u05DD\u05DF\u05E3\u05E5\u05EA\u05CF\u05EB\t\u00A0x";
  std::mt19937 random(20261211);
  for (int round = 0; round < 20'000; ++round) {
    std::u16string typed(random() % 12, u' ');
    for (char16_t& c : typed) {
      // Mostly letters and blanks, so that many inputs are prepared rather than refused.
      c = alphabet[random() % (random() % 4 == 0 ? alphabet.size() : 10)];
    }
    const Preparation fast = PrepareTargetText(typed);
    const Preparation literal = test::LiteralPrepareTarget(typed);
    ASSERT_EQ(fast.index(), literal.index()) << Utf16ToUtf8(typed);
    if (const auto* refusal = std::get_if<Refusal>(&fast)) {
      EXPECT_EQ(refusal->message, std::get<Refusal>(literal).message) << Utf16ToUtf8(typed);
    } else {
      EXPECT_EQ(std::get<std::u16string>(fast), std::get<std::u16string>(literal));
    }
  }
}

}  // namespace
}  // namespace quorel
