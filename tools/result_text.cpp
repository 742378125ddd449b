// SPDX-License-Identifier: GPL-3.0-or-later
#include "result_text.h"

#include "search/context_view.h"
#include "text/utf.h"

namespace quorel {

void ResultTextWriter::Begin(const LetterText& text, std::u16string_view /*target*/) {
  text_ = &text;
}

bool ResultTextWriter::Take(const Find& find) {
  find_text_.clear();
  AppendUtf8(FindHeader(find), find_text_);
  AppendUtf8(area_ ? AreaView(*text_, find) : OneLineView(*text_, find), find_text_);
  return WriteFind(find_text_);
}

}  // namespace quorel
