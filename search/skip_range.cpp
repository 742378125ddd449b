// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/skip_range.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "search/blanks.h"
#include "search/decimal_text.h"
#include "text/code_page.h"

namespace quorel {
namespace {

constexpr char16_t kDecimalSeparator = u'.';
constexpr std::int64_t kLowest = INT32_MIN;
constexpr std::int64_t kHighest = INT32_MAX;
// Past this magnitude no fraction can bring a value back into 32 bits.
constexpr std::int64_t kBeyondRange = kHighest + 2;

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The magnitude of a run of digits, held at kBeyondRange once it gets that large, so that a
// string of any length is read in one pass without overflow.
std::int64_t MagnitudeOf(std::u16string_view digits) {
  std::int64_t magnitude = 0;
  for (const char16_t c : digits) {
    magnitude = std::min(kBeyondRange, magnitude * 10 + (c - u'0'));
  }
  return magnitude;
}

// Whether a fraction's digits round the whole part up: above one half always, exactly one half
// only when the whole part is odd (halves go to the even neighbour).
bool FractionRoundsUp(std::u16string_view fraction, std::int64_t whole) {
  if (fraction.empty() || fraction.front() < u'5') {
    return false;
  }
  if (fraction.front() > u'5') {
    return true;
  }
  const bool above_half = fraction.find_first_not_of(u'0', 1) != std::u16string_view::npos;
  return above_half || whole % 2 == 1;
}

bool AllDigits(std::u16string_view text) {
  for (const char16_t c : text) {
    if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::int32_t> ConvertWholeNumber(std::u16string_view text) {
  std::u16string_view number = TrimBlanks(text);
  bool negative = false;
  if (!number.empty() && (number.front() == u'+' || number.front() == u'-')) {
    negative = number.front() == u'-';
    number.remove_prefix(1);
  }
  const std::size_t separator = number.find(kDecimalSeparator);
  const std::u16string_view whole_digits = number.substr(0, separator);
  const std::u16string_view fraction_digits =
      separator == std::u16string_view::npos ? std::u16string_view() : number.substr(separator + 1);
  if (whole_digits.empty() && fraction_digits.empty()) {
    return std::nullopt;
  }
  if (!AllDigits(whole_digits) || !AllDigits(fraction_digits)) {
    return std::nullopt;
  }
  std::int64_t magnitude = MagnitudeOf(whole_digits);
  if (FractionRoundsUp(fraction_digits, magnitude)) {
    magnitude = std::min(kBeyondRange, magnitude + 1);
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < kLowest || value > kHighest) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

SkipRange ReadSkipRange(WindowOperations& window) {
  SkipRange range;

  range.MinSkip = ConvertWholeNumber(window.GetText(Box::Text3)).value_or(0);
  if (range.MinSkip <= 0) {
    window.ShowMessage(u"Min skip size must be numeric and positive - set to 2");
    range.MinSkip = 2;
  } else if (range.MinSkip > SKIP_LIMIT) {
    window.ShowMessage(u"Max skip size is too big - set to 2");
    range.MinSkip = 2;
  }

  range.MaxSkip = ConvertWholeNumber(window.GetText(Box::Text2)).value_or(0);
  const std::int32_t replacement = range.MinSkip + 10;
  if (range.MaxSkip < range.MinSkip) {
    window.ShowMessage(u"Max skip size must be numeric and larger than min skip - set to " +
                       DecimalText(replacement));
    range.MaxSkip = replacement;
  } else if (range.MaxSkip > SKIP_LIMIT) {
    window.ShowMessage(u"Max skip size is too big - set to " + DecimalText(replacement));
    range.MaxSkip = replacement;
  }
  return range;
}

}  // namespace quorel
