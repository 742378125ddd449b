// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/skip_block_scan.h"

#include <algorithm>
#include <array>
#include <bit>

namespace quorel {
namespace {

// Anchor positions whose skips are worked out before any of them is followed up: the first
// loop has no branch that depends on the text, and the second sees only positions that pass.
constexpr std::size_t kBatch = 256;

// The lowest `count` bits set, 0 <= count <= 64.
std::uint64_t LowBits(std::int64_t count) {
  return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// Anchor positions of one batch with the skips of the block at which they pass both neighbours.
struct Passing {
  std::array<std::int64_t, kBatch> position;
  std::array<std::uint64_t, kBatch> skips;
  std::size_t count = 0;
};

class BlockScan {
 public:
  BlockScan(const AnchorScan& scan, std::int32_t first_skip, std::int64_t skip_count)
      : scan_(scan),
        length_(static_cast<std::int64_t>(scan.letters.size())),
        target_length_(static_cast<std::int64_t>(scan.target.size())),
        before_(scan.anchor),
        after_(static_cast<std::int64_t>(scan.target.size()) - 1 - scan.anchor),
        first_skip_(first_skip),
        last_skip_(first_skip + skip_count - 1),
        block_mask_(LowBits(skip_count)) {}

  void Run(std::span<std::vector<std::int32_t>> finds) const {
    // A start at skip s needs before_ * s <= p and p + after_ * s <= length - 1; only the
    // positions that meet this at the block's first skip are visited.
    const std::int64_t lowest = before_ * first_skip_;
    const std::int64_t highest = length_ - 1 - after_ * first_skip_;
    const auto begin = std::lower_bound(scan_.positions.begin(), scan_.positions.end(), lowest);
    const auto end = std::upper_bound(begin, scan_.positions.end(), highest);
    Passing passing;
    for (auto batch = begin; batch < end; batch += std::min<std::ptrdiff_t>(kBatch, end - batch)) {
      FindPassing(std::span(batch, std::min(batch + kBatch, end)), passing);
      FollowUp(passing, finds);
    }
  }

 private:
  void FindPassing(std::span<const std::int32_t> positions, Passing& passing) const {
    // Positions that meet the limits at the block's last skip need no limit of their own.
    const std::int64_t lowest_for_all = before_ * last_skip_;
    const std::int64_t highest_for_all = length_ - 1 - after_ * last_skip_;
    std::size_t count = 0;
    for (const std::int32_t position : positions) {
      const std::int64_t p = position;
      std::uint64_t skips =
          p < lowest_for_all || p > highest_for_all ? SkipsWithRoom(p) : block_mask_;
      if (scan_.after != nullptr) {
        skips &= scan_.after->Window(p + first_skip_);
      }
      if (scan_.before != nullptr) {
        skips &= scan_.before->Window(length_ - 1 - p + first_skip_);
      }
      // Stored whatever the skips; only a passing position moves the count on.
      passing.position[count] = p;
      passing.skips[count] = skips;
      count += skips != 0 ? 1 : 0;
    }
    passing.count = count;
  }

  void FollowUp(const Passing& passing, std::span<std::vector<std::int32_t>> finds) const {
    for (std::size_t k = 0; k < passing.count; ++k) {
      const std::int64_t p = passing.position[k];
      for (std::uint64_t skips = passing.skips[k]; skips != 0; skips &= skips - 1) {
        const int bit = std::countr_zero(skips);
        const std::int64_t skip = first_skip_ + bit;
        const std::int64_t start = p - before_ * skip;
        if (PassesChecks(start, skip)) {
          finds[static_cast<std::size_t>(bit)].push_back(static_cast<std::int32_t>(start + 1));
        }
      }
    }
  }

  // The skips of the block at which a start for anchor position p lies within the text.
  std::uint64_t SkipsWithRoom(std::int64_t p) const {
    std::int64_t highest_skip = last_skip_;
    if (before_ > 0) {
      highest_skip = std::min(highest_skip, p / before_);
    }
    if (after_ > 0) {
      highest_skip = std::min(highest_skip, (length_ - 1 - p) / after_);
    }
    return LowBits(highest_skip - first_skip_ + 1) & block_mask_;
  }

  bool PassesChecks(std::int64_t start, std::int64_t skip) const {
    std::span<const std::int32_t> checks = scan_.checks;
    if (scan_.first_check != nullptr) {
      if (!scan_.first_check->Test(start + checks.front() * skip)) {
        return false;
      }
      checks = checks.subspan(1);
    }
    for (const std::int32_t index : checks) {
      if (!LetterMatches(start, skip, index)) {
        return false;
      }
    }
    for (std::int64_t index = scan_.checks_in_order_from; index < target_length_; ++index) {
      if (!LetterMatches(start, skip, index)) {
        return false;
      }
    }
    return true;
  }

  bool LetterMatches(std::int64_t start, std::int64_t skip, std::int64_t index) const {
    return scan_.letters[static_cast<std::size_t>(start + index * skip)] ==
           scan_.target[static_cast<std::size_t>(index)];
  }

  const AnchorScan& scan_;
  std::int64_t length_;
  std::int64_t target_length_;
  std::int64_t before_;  // target letters before the anchor
  std::int64_t after_;   // target letters after the anchor
  std::int64_t first_skip_;
  std::int64_t last_skip_;
  std::uint64_t block_mask_;
};

}  // namespace

void ScanSkipBlock(const AnchorScan& scan, std::int32_t first_skip,
                   std::span<std::vector<std::int32_t>> finds) {
  for (std::vector<std::int32_t>& skip_finds : finds) {
    skip_finds.clear();
  }
  BlockScan(scan, first_skip, static_cast<std::int64_t>(finds.size())).Run(finds);
}

}  // namespace quorel
