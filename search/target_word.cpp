// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/target_word.h"

#include "search/blanks.h"
#include "text/code_page.h"

namespace quorel {
namespace {

char16_t RegularForm(char16_t letter) {
  switch (letter) {
    case u'\u05DA':  // final kaf
      return u'\u05DB';
    case u'\u05DD':  // final mem
      return u'\u05DE';
    case u'\u05DF':  // final nun
      return u'\u05E0';
    case u'\u05E3':  // final pe
      return u'\u05E4';
    case u'\u05E5':  // final tsadi
      return u'\u05E6';
    default:
      return letter;
  }
}

}  // namespace

Preparation PrepareTargetText(std::u16string_view typed) {
  const std::u16string_view trimmed = TrimBlanks(typed);
  // The length test counts the trimmed text, before inner blanks go and before any test.
  if (trimmed.size() <= 1) {
    return Refusal{kTooShortMessage};
  }
  // One pass does what removing a blank and starting over would do: the letters in front of a
  // blank pass the test and have no fold, so visiting them again changes nothing.
  std::u16string target;
  target.reserve(trimmed.size());
  for (const char16_t c : trimmed) {
    if (c == kBlank) {
      continue;
    }
    if (!IsHebrewLetter(c)) {
      return Refusal{kNotHebrewMessage};
    }
    target.push_back(RegularForm(c));
  }
  return target;
}

std::optional<std::u16string> PrepareTarget(WindowOperations& window) {
  Preparation preparation = PrepareTargetText(window.GetText(Box::Text1));
  if (const auto* refusal = std::get_if<Refusal>(&preparation)) {
    window.ShowMessage(refusal->message);
    return std::nullopt;
  }
  std::u16string& target = std::get<std::u16string>(preparation);
  window.SetText(Box::Text1, target);
  window.Repaint(Box::Text1);
  return std::move(target);
}

}  // namespace quorel
