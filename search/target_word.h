// SPDX-License-Identifier: GPL-3.0-or-later
// The target word of a run, read from Text1, checked and brought to the form that is searched.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "search/window_operations.h"

namespace quorel {

inline constexpr char16_t kTooShortMessage[] = u"Min target size must be at least 2";
inline constexpr char16_t kNotHebrewMessage[] = u"Target should be Hebrew only";

// What the typed text comes to: the prepared word, or the message that refuses it.
struct Refusal {
  std::u16string_view message;
};
using Preparation = std::variant<std::u16string, Refusal>;

// The typed text without its outer blanks (U+0020 only); refused when fewer than 2 characters
// remain, or when any character but a blank lies outside alef..tav. Otherwise every blank is
// removed and every final form replaced by its regular form. Linear in the length of the text.
Preparation PrepareTargetText(std::u16string_view typed);

// Reads Text1 once. On success writes the prepared word back into Text1, repaints it and gives
// the word (`Target`, its size being `TargetLen`); on refusal shows the message, leaves Text1 as
// typed and gives nothing, which ends the run.
std::optional<std::u16string> PrepareTarget(WindowOperations& window);

}  // namespace quorel
