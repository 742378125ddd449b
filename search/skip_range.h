// SPDX-License-Identifier: GPL-3.0-or-later
// The skip range of a run, read from the minimum and maximum skip boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "search/window_operations.h"
#include "text/letter_text.h"

namespace quorel {

// The largest skip that the boxes may ask for, a real number: 30480 is accepted, 30481 is not.
inline constexpr double SKIP_LIMIT = TEXT_LENGTH / 10.0;

struct SkipRange {
  std::int32_t MinSkip = 0;
  std::int32_t MaxSkip = 0;
};

// The whole number that a box's text stands for: blanks around it, an optional sign, digits and
// an optional fraction after a full stop, rounded to the nearest whole number with halves to
// even. Nothing when the text is no such number or the value lies outside 32 bits.
std::optional<std::int32_t> ConvertWholeNumber(std::u16string_view text);

// Reads Text3 and Text2 and replaces each bad value with a message; never ends the run and never
// writes either box.
SkipRange ReadSkipRange(WindowOperations& window);

}  // namespace quorel
