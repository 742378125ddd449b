#include "json_finds.h"

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

void JsonFindWriter::Begin(const LetterText& text, std::u16string_view target) {
  text_ = &text;
  target_ = target;
}

bool JsonFindWriter::Take(const Find& find) {
  object_.assign("{\"skip\":")
      .append(std::to_string(find.skip))
      .append(",\"position\":")
      .append(std::to_string(find.position))
      .append(",\"letters\":");
  // A find's letters are the target's, letter for letter.
  AppendJsonString(target_, object_);
  object_.append(",\"line\":");
  AppendJsonString(OneLineLetters(*text_, find), object_);
  object_.append("}\n");
  out_.Write(object_);
  return !out_.Failed();
}

void JsonFindWriter::SkipDone(std::int32_t, std::int64_t, std::size_t finds) {
  if (finds > 0) {
    out_.Flush();
  }
}

}  // namespace quorel
