// SPDX-License-Identifier: GPL-3.0-or-later
// The views of the letters around a find, and the header that comes before them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "search/find.h"
#include "search/window_operations.h"
#include "text/letter_text.h"

namespace quorel {

inline constexpr char16_t NL[] = u"\r\n";

// "Skip: 7" and "Position: 1234 of 304805", each line ending in NL.
std::u16string FindHeader(const Find& find);

// The area view: for each of the rows around the find that lie inside the text, a 61-character
// framed row of the 51 places centred on it, with blank lines before the rows, after row 10,
// after the find's rows and after the last row.
std::u16string AreaView(const LetterText& text, const Find& find);

// The letters of the one-line view's rows: the letters at the find's skip before it (up to
// ten), a blank, the find's letters, a blank, and the letters at the skip after it (up to ten).
std::u16string OneLineLetters(const LetterText& text, const Find& find);

// The one-line view: "Result: ", OneLineLetters, then two line breaks.
std::u16string OneLineView(const LetterText& text, const Find& find);

// Reads Check1 once and appends the area view (any state but unchecked) or the one-line view
// to Text4.
void AppendContextView(WindowOperations& window, const LetterText& text, const Find& find);

// No find's header and view, whichever view, is longer than this.
std::size_t LongestFindText(std::int64_t target_len);

}  // namespace quorel
