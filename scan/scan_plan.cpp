// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_plan.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace quorel {
namespace {

// The Hebrew block U+05D0..U+05EA, one slot per letter, and one slot for every other character.
constexpr char16_t kFirstHebrewLetter = u'\u05D0';
constexpr std::size_t kHebrewLetters = 27;
constexpr std::size_t kSlots = kHebrewLetters + 1;

// The sample: this many stretches of consecutive letters spread evenly over the text, 2048
// letters in all, enough to rank letters whose shares differ by about a percent while reading
// under one percent of the text's cache lines.
constexpr std::int64_t kSampleStretches = 64;
constexpr std::int64_t kStretchLength = 32;

// Skips tested at once for one anchor position (see skip_block_scan.h).
constexpr double kSkipsPerBlock = 64;

// The anchor is chosen among this many first letters of the target; nearly every letter of the
// alphabet has turned up by then, and a start that passes the checks of this many letters is
// almost surely a find.
constexpr std::int64_t kAnchorChoices = 256;

using Shares = std::array<double, kSlots>;

std::size_t SlotOf(char16_t letter) {
  const auto offset = static_cast<std::uint16_t>(letter - kFirstHebrewLetter);
  return std::min<std::size_t>(offset, kHebrewLetters);
}

// The share of each slot among sampled letters; never zero, so that products stay ordered.
Shares SampledShares(std::u16string_view letters) {
  std::array<std::int64_t, kSlots> counts{};
  const auto length = static_cast<std::int64_t>(letters.size());
  const std::int64_t stride = std::max(kStretchLength, length / kSampleStretches);
  std::int64_t samples = 0;
  for (std::int64_t first = 0; first < length; first += stride) {
    const std::int64_t end = std::min(first + kStretchLength, length);
    for (std::int64_t p = first; p < end; ++p) {
      ++counts[SlotOf(letters[static_cast<std::size_t>(p)])];
    }
    samples += end - first;
  }
  Shares shares{};
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    shares[slot] = (static_cast<double>(counts[slot]) + 0.5) / (static_cast<double>(samples) + 1);
  }
  return shares;
}

double ShareAt(std::u16string_view target, const Shares& shares, std::int64_t index) {
  if (index < 0 || index >= static_cast<std::int64_t>(target.size())) {
    return 1.0;  // no neighbour there: every start passes
  }
  return shares[SlotOf(target[static_cast<std::size_t>(index)])];
}

// Per block of skips, an anchor costs one visit for each of its positions, and one test of the
// remaining letters for each skip at which a position passes both neighbours.
std::int32_t CheapestAnchor(std::u16string_view target, const Shares& shares) {
  std::int32_t best = 0;
  double best_cost = 0;
  const std::int64_t choices = std::min(static_cast<std::int64_t>(target.size()), kAnchorChoices);
  for (std::int64_t a = 0; a < choices; ++a) {
    const double passing = ShareAt(target, shares, a - 1) * ShareAt(target, shares, a + 1);
    const double cost = ShareAt(target, shares, a) * (1 + kSkipsPerBlock * passing);
    if (a == 0 || cost < best_cost) {
      best = static_cast<std::int32_t>(a);
      best_cost = cost;
    }
  }
  return best;
}

// The target indices that `keep` accepts, ordered by their letter's share, rarest first, ties in
// target order. A counting sort over the slots.
template <typename Keep>
std::vector<std::int32_t> IndicesRarestFirst(std::u16string_view target, const Shares& shares,
                                             Keep keep) {
  std::array<std::size_t, kSlots> slot_by_rank{};
  std::iota(slot_by_rank.begin(), slot_by_rank.end(), std::size_t{0});
  std::stable_sort(slot_by_rank.begin(), slot_by_rank.end(),
                   [&](std::size_t a, std::size_t b) { return shares[a] < shares[b]; });
  std::array<std::size_t, kSlots> rank_of_slot{};
  for (std::size_t rank = 0; rank < kSlots; ++rank) {
    rank_of_slot[slot_by_rank[rank]] = rank;
  }

  std::array<std::size_t, kSlots + 1> first_of_rank{};
  std::size_t kept = 0;
  for (std::size_t index = 0; index < target.size(); ++index) {
    if (keep(index)) {
      ++first_of_rank[rank_of_slot[SlotOf(target[index])] + 1];
      ++kept;
    }
  }
  std::partial_sum(first_of_rank.begin(), first_of_rank.end(), first_of_rank.begin());

  std::vector<std::int32_t> order(kept);
  for (std::size_t index = 0; index < target.size(); ++index) {
    if (keep(index)) {
      order[first_of_rank[rank_of_slot[SlotOf(target[index])]]++] =
          static_cast<std::int32_t>(index);
    }
  }
  return order;
}

}  // namespace

ScanPlan PlanScan(std::u16string_view letters, std::u16string_view target) {
  const Shares shares = SampledShares(letters);
  ScanPlan plan;
  plan.anchor = CheapestAnchor(target, shares);
  // The plan covers the letters the anchor was chosen among, and its right neighbour.
  plan.planned_length =
      static_cast<std::int32_t>(std::min(static_cast<std::int64_t>(target.size()),
                                         std::max(kAnchorChoices, std::int64_t{plan.anchor} + 2)));
  const auto anchor = static_cast<std::size_t>(plan.anchor);
  plan.checks = IndicesRarestFirst(
      target.substr(0, static_cast<std::size_t>(plan.planned_length)), shares,
      [&](std::size_t index) { return index + 1 < anchor || index > anchor + 1; });
  return plan;
}

}  // namespace quorel
