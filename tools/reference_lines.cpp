// SPDX-License-Identifier: GPL-3.0-or-later
#include "reference_lines.h"

namespace quorel {
namespace {

const std::string& OrDash(const std::string& reference) {
  static const std::string kDash = "-";
  return reference.empty() ? kDash : reference;
}

}  // namespace

void ReferenceLineWriter::Begin(const LetterText& text, std::u16string_view /*target*/) {
  references_.Load(text);
}

bool ReferenceLineWriter::Take(const Find& find) {
  line_.assign(std::to_string(find.skip)).append("\t").append(std::to_string(find.position));
  if (const std::optional<FindSpan> span = references_.Of(find)) {
    line_.append("\t").append(OrDash(span->from)).append("\t").append(OrDash(span->to));
  }
  line_.push_back('\n');
  return WriteFind(line_);
}

}  // namespace quorel
