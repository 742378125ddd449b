// SPDX-License-Identifier: GPL-3.0-or-later
// Distances on a cylinder: the text written in rows of width h, the first letter of each row
// next to the last of the row before.
#pragma once

#include <array>
#include <cstdint>

namespace quorel {

inline constexpr int kRowWidthsPerSkip = 10;

// The squared distance of two positions `distance` apart on rows of width `width` (>= 1):
// with q, r = distance div width, distance mod width, the shorter way round,
// min(q² + r², (q + 1)² + (width - r)²).
constexpr std::int64_t CylinderDistanceSquared(std::int64_t distance, std::int64_t width) {
  const std::int64_t q = distance / width;
  const std::int64_t r = distance % width;
  const std::int64_t straight = q * q + r * r;
  const std::int64_t round = (q + 1) * (q + 1) + (width - r) * (width - r);
  return straight < round ? straight : round;
}

// The row widths of a sequence with skip d: h_i = |d| / i rounded, halves up, for i = 1..10,
// that is (2|d| + i) div (2i). A width of 0 (|d| < i / 2) is kept here and left out by the
// sums that use the widths.
constexpr std::array<std::int64_t, kRowWidthsPerSkip> RowWidths(std::int64_t skip) {
  const std::int64_t magnitude = skip < 0 ? -skip : skip;
  std::array<std::int64_t, kRowWidthsPerSkip> widths{};
  for (std::int64_t i = 1; i <= kRowWidthsPerSkip; ++i) {
    widths[static_cast<std::size_t>(i - 1)] = (2 * magnitude + i) / (2 * i);
  }
  return widths;
}

}  // namespace quorel
