// SPDX-License-Identifier: GPL-3.0-or-later
// The target word's preparation: the linear pass against the step-by-step pass that starts over
// after every blank.
#include "fuzz_input.h"
#include "search/target_word.h"
#include "tests/literal_target_preparation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorel;
  const std::u16string typed = fuzz::Utf16Units(data, size);
  const Preparation fast = PrepareTargetText(typed);
  if (typed.size() > 512) {
    return 0;  // the step-by-step pass is quadratic
  }
  const Preparation literal = test::LiteralPrepareTarget(typed);
  fuzz::Check(fast.index() == literal.index());
  if (const auto* refusal = std::get_if<Refusal>(&fast)) {
    fuzz::Check(refusal->message == std::get<Refusal>(literal).message);
  } else {
    fuzz::Check(std::get<std::u16string>(fast) == std::get<std::u16string>(literal));
  }
  return 0;
}
