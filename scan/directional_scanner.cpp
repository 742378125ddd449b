// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/directional_scanner.h"

#include <limits>

namespace quorel {

DirectionalScanner::DirectionalScanner(std::u16string_view letters, std::u16string_view target,
                                       ScanKernel kernel)
    : target_(target),
      reversed_(target.rbegin(), target.rend()),
      forward_(letters, target_, kernel),
      backward_(letters, reversed_, kernel) {}

void DirectionalScanner::FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const {
  if (skip >= 0) {
    forward_.FindsAtSkip(skip, finds);
    return;
  }
  // The reversed word's forward finds start at the word's last letter; shifting every one by the
  // same distance keeps them in increasing order.
  const std::int64_t magnitude = -std::int64_t{skip};
  if (magnitude > std::numeric_limits<std::int32_t>::max()) {
    finds.clear();
    return;
  }
  backward_.FindsAtSkip(static_cast<std::int32_t>(magnitude), finds);
  const auto span =
      static_cast<std::int32_t>((static_cast<std::int64_t>(target_.size()) - 1) * magnitude);
  for (std::int32_t& position : finds) {
    position += span;
  }
}

}  // namespace quorel
