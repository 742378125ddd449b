// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(Utf, RoundTripsHebrewAndAstralCharacters) {
  const std::string text = "\xD7\x97\xD7\x95\xD7\xA4\xD7\xA9 a \xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8ToUtf16(text), u"\u05D7\u05D5\u05E4\u05E9 a \U0001F600");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");            // an overlong form
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xD7"), u"\uFFFD");                      // cut short
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                        "b\xDC00"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quorel
