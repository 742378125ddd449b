// SPDX-License-Identifier: GPL-3.0-or-later
#include "find_counts.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "text/hebrew_letters.h"

namespace quorel {
namespace {

std::string Formatted(const char* format, int precision, double value) {
  char text[400];
  std::snprintf(text, sizeof text, format, precision, value);
  return text;
}

}  // namespace

std::string ExpectedNumberText(double expected) {
  // Four significant digits as %g writes them, where %g writes no exponent.
  std::string text = Formatted("%.*g", 4, expected);
  if (text.find('e') == std::string::npos) {
    return text;
  }
  if (expected >= 1) {
    return Formatted("%.*f", 0, expected);  // every whole digit, so at least four
  }
  // Below 0.0001: four significant digits after the zeros, without trailing zeros.
  const int decimals = 3 - static_cast<int>(std::floor(std::log10(expected)));
  text = Formatted("%.*f", decimals, expected);
  text.erase(text.find_last_not_of('0') + 1);
  return text;
}

double ChanceOfFind(const LetterText& text, std::u16string_view target, bool fold_finals) {
  if (text.FileLength() == 0) {
    return 0;
  }
  std::vector<std::int64_t> counts(0x10000);
  for (const char16_t c : text.FileLetters()) {
    ++counts[fold_finals ? RegularLetter(c) : c];
  }
  double chance = 1;
  for (const char16_t c : target) {
    chance *= static_cast<double>(counts[c]) / text.FileLength();
  }
  return chance;
}

void FindCounter::Begin(const LetterText& text, std::u16string_view target) {
  chance_ = ChanceOfFind(text, target, fold_finals_);
}

void FindCounter::SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t finds) {
  rows_.push_back(Row{skip, finds, static_cast<double>(start_positions) * chance_});
}

void FindCounter::Write(OutputStream& out) const {
  std::size_t all_finds = 0;
  double all_expected = 0;
  out.Write("skip\tfinds\texpected\n");
  for (const Row& row : rows_) {
    out.Write(std::to_string(row.skip) + "\t" + std::to_string(row.finds) + "\t" +
              ExpectedNumberText(row.expected) + "\n");
    all_finds += row.finds;
    all_expected += row.expected;
  }
  out.Write("all\t" + std::to_string(all_finds) + "\t" + ExpectedNumberText(all_expected) + "\n");
}

}  // namespace quorel
