// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scanner.h"

#include <algorithm>
#include <limits>
#include <span>

namespace quorel {
namespace {

ScanKernel SupportedKernel(ScanKernel wanted) {
  return wanted == ScanKernel::kAvx2 ? BestScanKernel() : ScanKernel::kPortable;
}

// The largest skip at which the target still fits in the text, (length - 1) / (target - 1).
std::int32_t LastSkipWithRoom(std::int64_t length, std::int64_t target_length) {
  if (target_length < 1 || target_length > length) {
    return 0;
  }
  if (target_length == 1) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(
      (length - 1) / (target_length - 1), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

Scanner::Scanner(std::u16string_view letters, std::u16string_view target, ScanKernel kernel)
    : letters_(letters),
      target_(target),
      last_skip_(LastSkipWithRoom(static_cast<std::int64_t>(letters.size()),
                                  static_cast<std::int64_t>(target.size()))) {
  // A target that fits at no skip is not even read.
  if (last_skip_ == 0) {
    return;
  }
  kernel = SupportedKernel(kernel);
  plan_ = PlanScan(letters, target);
  const auto anchor = static_cast<std::size_t>(plan_.anchor);
  const bool has_before = anchor > 0;
  const bool has_after = anchor + 1 < target.size();

  // One pass over the text builds every bitset the scan needs.
  std::vector<LetterBitset::Request> requests = {{target[anchor], BitOrder::kForward}};
  if (has_before) {
    requests.push_back({target[anchor - 1], BitOrder::kBackward});
  }
  if (has_after) {
    requests.push_back({target[anchor + 1], BitOrder::kForward});
  }
  const bool has_checks = !plan_.checks.empty();
  if (has_checks) {
    requests.push_back(
        {target[static_cast<std::size_t>(plan_.checks.front())], BitOrder::kForward});
  }
  std::vector<LetterBitset> bitsets = LetterBitset::Build(letters, requests, kernel);
  anchor_positions_ = bitsets[0].SetBits(kernel);
  if (anchor_positions_.empty()) {
    last_skip_ = 0;
    return;
  }
  std::size_t next = 1;
  if (has_before) {
    before_anchor_.emplace(std::move(bitsets[next++]));
  }
  if (has_after) {
    after_anchor_.emplace(std::move(bitsets[next++]));
  }
  if (has_checks) {
    first_check_.emplace(std::move(bitsets[next++]));
  }
}

void Scanner::FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const {
  finds.clear();
  if (skip < 1 || skip > last_skip_) {
    return;
  }
  if (skip < block_first_ || skip - block_first_ >= block_size_) {
    ScanBlockFrom(skip);
  }
  const std::vector<std::int32_t>& found =
      block_finds_[static_cast<std::size_t>(skip - block_first_)];
  finds.assign(found.begin(), found.end());
}

void Scanner::ScanBlockFrom(std::int32_t skip) const {
  // Growing blocks pay off only while the run goes on skip after skip.
  const bool next_in_line = block_size_ > 0 && skip - block_first_ == block_size_;
  std::int32_t size = next_in_line ? std::min(2 * block_size_, kMaxBlockSkips) : 1;
  size =
      static_cast<std::int32_t>(std::min<std::int64_t>(size, std::int64_t{last_skip_} - skip + 1));

  const AnchorScan scan{letters_,
                        target_,
                        plan_.anchor,
                        anchor_positions_,
                        before_anchor_ ? &*before_anchor_ : nullptr,
                        after_anchor_ ? &*after_anchor_ : nullptr,
                        plan_.checks,
                        plan_.planned_length,
                        first_check_ ? &*first_check_ : nullptr};
  ScanSkipBlock(scan, skip, std::span(block_finds_.data(), static_cast<std::size_t>(size)));
  block_first_ = skip;
  block_size_ = size;
}

}  // namespace quorel
