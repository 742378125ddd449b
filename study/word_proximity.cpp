#include "study/word_proximity.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace quorel {
namespace {

// A find with what the search needs of it at hand.
struct PlacedFind {
  SkipFind find;
  std::int32_t letters = 0;
  std::int64_t low = 0;                             // its lowest letter position
  std::int64_t high = 0;                            // its highest
  std::array<std::int32_t, kWidthSplits> widths{};  // largest first
  int width_count = 0;
};

PlacedFind Place(SkipFind find, std::int32_t letters) {
  PlacedFind placed;
  placed.find = find;
  placed.letters = letters;
  const std::int64_t last = find.start + static_cast<std::int64_t>(letters - 1) * find.skip;
  placed.low = std::min<std::int64_t>(find.start, last);
  placed.high = std::max<std::int64_t>(find.start, last);
  const std::vector<std::int32_t> widths = SuggestedWidths(find.skip);
  placed.width_count = static_cast<int>(widths.size());
  std::copy(widths.begin(), widths.end(), placed.widths.begin());
  return placed;
}

// The rows and columns taken by one find's letters at `width`, as inclusive ranges.
struct Box {
  std::int64_t first_row;
  std::int64_t last_row;
  std::int64_t first_column;
  std::int64_t last_column;
};

Box BoxOf(SkipFind find, std::int32_t letters, std::int64_t width) {
  Box box{std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
          std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()};
  for (std::int32_t i = 0; i < letters; ++i) {
    const std::int64_t offset = find.start - 1 + static_cast<std::int64_t>(i) * find.skip;
    const std::int64_t row = offset / width;
    const std::int64_t column = offset % width;
    box.first_row = std::min(box.first_row, row);
    box.last_row = std::max(box.last_row, row);
    box.first_column = std::min(box.first_column, column);
    box.last_column = std::max(box.last_column, column);
  }
  return box;
}

// The pair's matrix at `width`, or nothing when its rows alone reach `best`.
std::optional<PairMatrix> MatrixBelow(const PlacedFind& a, const PlacedFind& b, std::int32_t width,
                                      std::int64_t best) {
  const std::int64_t low = std::min(a.low, b.low);
  const std::int64_t high = std::max(a.high, b.high);
  const std::int64_t rows = (high - 1) / width - (low - 1) / width + 1;
  if (rows >= best) {
    return std::nullopt;
  }
  PairMatrix matrix = MatrixAtWidth(a.find, a.letters, b.find, b.letters, width);
  if (matrix.Area() >= best) {
    return std::nullopt;
  }
  return matrix;
}

class ClosestSearch {
 public:
  void Try(const PlacedFind& a, const PlacedFind& b) {
    if (a.find == b.find) {
      return;
    }
    // At width w the pair needs at least (span + 1) / w rows: only widths above (span + 1) / best
    // can give a smaller area.
    const std::int64_t span = std::max(a.high, b.high) - std::min(a.low, b.low) + 1;
    TryWidths(a, a, b, span);
    TryWidths(b, a, b, span);
  }

  std::int64_t Best() const { return best_; }
  const std::optional<ClosestPair>& Closest() const { return closest_; }

 private:
  void TryWidths(const PlacedFind& from, const PlacedFind& a, const PlacedFind& b,
                 std::int64_t span) {
    for (int k = 0; k < from.width_count; ++k) {
      const std::int32_t width = from.widths[static_cast<std::size_t>(k)];
      if (best_ != kNone && span >= best_ * width) {
        return;  // the widths come largest first; the rest need even more rows
      }
      if (const std::optional<PairMatrix> matrix = MatrixBelow(a, b, width, best_)) {
        best_ = matrix->Area();
        closest_ = ClosestPair{a.find, b.find, *matrix};
      }
    }
  }

  static constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
  std::int64_t best_ = kNone;
  std::optional<ClosestPair> closest_;
};

}  // namespace

PairMatrix MatrixAtWidth(SkipFind a, std::int32_t a_letters, SkipFind b, std::int32_t b_letters,
                         std::int32_t width) {
  const Box one = BoxOf(a, a_letters, width);
  const Box two = BoxOf(b, b_letters, width);
  PairMatrix matrix;
  matrix.width = width;
  matrix.rows = std::max(one.last_row, two.last_row) - std::min(one.first_row, two.first_row) + 1;
  matrix.columns =
      std::max(one.last_column, two.last_column) - std::min(one.first_column, two.first_column) + 1;
  return matrix;
}

std::vector<std::int32_t> SuggestedWidths(std::int32_t skip) {
  const std::int64_t magnitude = std::llabs(skip);
  std::vector<std::int32_t> widths;
  for (std::int64_t n = 1; n <= kWidthSplits; ++n) {
    const auto width = static_cast<std::int32_t>((2 * magnitude + n) / (2 * n));
    if (width >= 1 && (widths.empty() || widths.back() != width)) {
      widths.push_back(width);
    }
  }
  return widths;
}

PairMatrix PairProximity(SkipFind a, std::int32_t a_letters, SkipFind b, std::int32_t b_letters) {
  PairMatrix best;
  best.rows = std::numeric_limits<std::int64_t>::max() / 2;
  best.columns = 1;
  for (const SkipFind from : {a, b}) {
    for (const std::int32_t width : SuggestedWidths(from.skip)) {
      const PairMatrix matrix = MatrixAtWidth(a, a_letters, b, b_letters, width);
      if (matrix.Area() < best.Area()) {
        best = matrix;
      }
    }
  }
  return best;
}

std::optional<ClosestPair> WordProximity(const WordFinds& first, const WordFinds& second) {
  if (first.finds.empty() || second.finds.empty()) {
    return std::nullopt;
  }
  std::vector<PlacedFind> seconds;
  seconds.reserve(second.finds.size());
  std::int64_t widest = 1;
  for (const SkipFind find : second.finds) {
    seconds.push_back(Place(find, second.letters));
    widest = std::max<std::int64_t>(widest, std::llabs(find.skip));
  }
  std::sort(seconds.begin(), seconds.end(),
            [](const PlacedFind& x, const PlacedFind& y) { return x.low < y.low; });

  ClosestSearch search;
  for (const SkipFind find : first.finds) {
    const PlacedFind a = Place(find, first.letters);
    const std::int64_t width_bound = std::max<std::int64_t>(widest, std::llabs(find.skip));
    // A pair can beat `best` only if its span + 1 < best x width_bound.
    const auto reach = [&] {
      const std::int64_t best = search.Best();
      return best > std::numeric_limits<std::int64_t>::max() / width_bound
                 ? std::numeric_limits<std::int64_t>::max()
                 : best * width_bound;
    };
    const auto middle =
        std::lower_bound(seconds.begin(), seconds.end(), a.low,
                         [](const PlacedFind& x, std::int64_t low) { return x.low < low; });
    // Upwards: span + 1 >= b.low - a.low + 1, growing with b.low.
    for (auto b = middle; b != seconds.end() && b->low - a.low + 1 < reach(); ++b) {
      search.Try(a, *b);
    }
    // Downwards: span + 1 >= a.high - b.low + 1, growing as b.low falls.
    for (auto b = middle; b != seconds.begin();) {
      --b;
      if (a.high - b->low + 1 >= reach()) {
        break;
      }
      search.Try(a, *b);
    }
  }
  return search.Closest();
}

}  // namespace quorel
