// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/context_view.h"

#include "search/decimal_text.h"

namespace quorel {
namespace {

// Rows 1..10 lie before the find, rows 11..TargetLen + 10 are its letters, and ten more follow.
constexpr std::int64_t kRowsAround = 10;
constexpr std::int64_t kFirstFindRow = kRowsAround + 1;
constexpr char16_t kLeftFrame[] = u"\u05D0   ";
constexpr char16_t kRightFrame[] = u"   \u05D0";
constexpr std::size_t kRowLength = 61 + 2;  // the framed row and its NL
constexpr std::size_t kLongestHeader = 64;

std::int64_t RowCount(const Find& find) {
  return find.target_len + 2 * kRowsAround;
}

// The text position that row j belongs to.
std::int64_t RowPosition(const Find& find, std::int64_t j) {
  return find.position + (j - kFirstFindRow) * find.skip;
}

bool InsideText(std::int64_t k) {
  return k >= 1 && k <= TEXT_LENGTH;
}

void AppendRow(const LetterText& text, std::int64_t k, std::u16string& out) {
  const std::u16string_view padded = text.Padded();
  // 1-based position q of PaddedText is index q - 1.
  const auto before = static_cast<std::size_t>(k - 1);
  out += kLeftFrame;
  out += padded.substr(before, kPadding);
  out += u' ';
  out += padded[before + kPadding];
  out += u' ';
  out += padded.substr(before + kPadding + 1, kPadding);
  out += kRightFrame;
  out += NL;
}

}  // namespace

std::u16string FindHeader(const Find& find) {
  return u"Skip: " + DecimalText(find.skip) + NL + u"Position: " + DecimalText(find.position) +
         u" of " + DecimalText(TEXT_LENGTH) + NL;
}

std::u16string AreaView(const LetterText& text, const Find& find) {
  std::u16string view;
  view.reserve(static_cast<std::size_t>(RowCount(find)) * kRowLength + 8);
  view += NL;
  const std::int64_t rows = RowCount(find);
  for (std::int64_t j = 1; j <= rows; ++j) {
    const std::int64_t k = RowPosition(find, j);
    if (InsideText(k)) {
      AppendRow(text, k, view);
    }
    if (j == kRowsAround || j == find.target_len + kRowsAround) {
      view += NL;
    }
  }
  view += NL;
  return view;
}

std::u16string OneLineLetters(const LetterText& text, const Find& find) {
  std::u16string line;
  const std::int64_t rows = RowCount(find);
  line.reserve(static_cast<std::size_t>(rows) + 2);
  for (std::int64_t j = 1; j <= rows; ++j) {
    const std::int64_t k = RowPosition(find, j);
    if (j == kFirstFindRow) {
      line += u' ';
    }
    if (InsideText(k)) {
      line += text.At(static_cast<std::int32_t>(k));
    }
    if (j == find.target_len + kRowsAround) {
      line += u' ';
    }
  }
  return line;
}

std::u16string OneLineView(const LetterText& text, const Find& find) {
  return u"Result: " + OneLineLetters(text, find) + NL + NL;
}

void AppendContextView(WindowOperations& window, const LetterText& text, const Find& find) {
  const bool area = window.GetCheckState() != kUnchecked;
  window.AppendText(Box::Text4, area ? AreaView(text, find) : OneLineView(text, find));
}

std::size_t LongestFindText(std::int64_t target_len) {
  const auto rows = static_cast<std::size_t>(target_len + 2 * kRowsAround);
  return kLongestHeader + rows * kRowLength + 4 * 2;
}

}  // namespace quorel
