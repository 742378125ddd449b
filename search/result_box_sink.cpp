// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/result_box_sink.h"

#include <string>

#include "search/context_view.h"
#include "search/decimal_text.h"

namespace quorel {
namespace {

std::u16string ResultBoxFullMessage(std::int64_t finds_shown, std::int32_t skip) {
  return u"The result box is full: it shows " + DecimalText(finds_shown) +
         (finds_shown == 1 ? u" find" : u" finds") + u", and the search stopped at skip " +
         DecimalText(skip) + u".";
}

}  // namespace

void ResultBoxSink::Begin(const LetterText& text, std::u16string_view /*target*/) {
  text_ = &text;
  finds_shown_ = 0;
}

bool ResultBoxSink::Take(const Find& find) {
  if (window_.RoomLeft(Box::Text4) < LongestFindText(find.target_len)) {
    window_.ShowMessage(ResultBoxFullMessage(finds_shown_, find.skip));
    return false;
  }
  window_.AppendText(Box::Text4, FindHeader(find));
  AppendContextView(window_, *text_, find);
  ++finds_shown_;
  return true;
}

}  // namespace quorel
