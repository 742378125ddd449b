// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_finds.h"

#include <optional>
#include <string_view>

#include "search/context_view.h"
#include "text/utf.h"

namespace quorel {

void AppendJsonString(std::u16string_view text, std::string& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  std::size_t plain_from = 0;
  const auto flush_plain = [&](std::size_t up_to) {
    AppendUtf8(text.substr(plain_from, up_to - plain_from), out);
  };
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t c = text[k];
    if (c != u'"' && c != u'\\' && c >= 0x20) {
      continue;
    }
    flush_plain(k);
    plain_from = k + 1;
    out.push_back('\\');
    if (c == u'"' || c == u'\\') {
      out.push_back(static_cast<char>(c));
    } else {
      out.append("u00");
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  flush_plain(text.size());
  out.push_back('"');
}

namespace {

// A reference as JSON: a string, or null when the letter stands before the first verse.
void AppendReference(const std::string& reference, std::string& out) {
  if (reference.empty()) {
    out.append("null");
  } else {
    AppendJsonString(Utf8ToUtf16(reference), out);
  }
}

}  // namespace

void JsonFindWriter::Begin(const LetterText& text, std::u16string_view /*target*/) {
  text_ = &text;
  if (references_ != nullptr) {
    references_->Load(text);
  }
}

bool JsonFindWriter::Take(const Find& find) {
  object_.assign("{\"skip\":")
      .append(std::to_string(find.skip))
      .append(",\"position\":")
      .append(std::to_string(find.position))
      .append(",\"letters\":");
  // The text's own letters: with final forms folded they may differ from the word's.
  letters_.clear();
  for (std::int64_t j = 0; j < find.target_len; ++j) {
    letters_ += text_->At(static_cast<std::int32_t>(find.position + j * find.skip));
  }
  AppendJsonString(letters_, object_);
  object_.append(",\"line\":");
  AppendJsonString(OneLineLetters(*text_, find), object_);
  if (references_ != nullptr) {
    if (const std::optional<FindSpan> span = references_->Of(find)) {
      object_.append(",\"from\":");
      AppendReference(span->from, object_);
      object_.append(",\"to\":");
      AppendReference(span->to, object_);
    }
  }
  object_.append("}\n");
  return WriteFind(object_);
}

}  // namespace quorel
