// SPDX-License-Identifier: GPL-3.0-or-later
// The skip boxes' whole-number conversion: any text, of any length, in bounded time, and the
// values it gives are consistent with their own decimal text.
#include <string>

#include "fuzz_input.h"
#include "search/skip_range.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorel;
  const std::u16string text = fuzz::Utf16Units(data, size);
  const std::optional<std::int32_t> value = ConvertWholeNumber(text);

  // Blanks around a text change nothing.
  fuzz::Check(ConvertWholeNumber(u"  " + text + u" ") == value);
  if (value) {
    const std::string digits = std::to_string(*value);
    fuzz::Check(ConvertWholeNumber(std::u16string(digits.begin(), digits.end())) == value);
  }
  // A sign in front of a number without one negates it, except where that leaves 32 bits.
  if (!text.empty() && text.front() >= u'0' && text.front() <= u'9') {
    const std::optional<std::int32_t> negated = ConvertWholeNumber(u"-" + text);
    if (value) {
      fuzz::Check(negated == -static_cast<std::int64_t>(*value));
    } else if (negated) {
      fuzz::Check(*negated == INT32_MIN);
    }
  }
  return 0;
}
