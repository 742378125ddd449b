// How close two words come in a text: the area of the smallest matrix that holds a find of each.
//
// Rows of width w. The text is written in rows of w letters: 1-based position x stands in row
// (x - 1) / w and column (x - 1) % w (whole-number division, both counted from 0). No row wraps
// around to the next: a matrix is a plain rectangle of rows and columns.
//
// A pair's matrix at width w. For a find A of the first word and a find B of the second, the
// matrix at width w is the smallest rectangle holding every letter of A and of B: its rows run
// from the smallest to the largest row of those letters, its columns likewise, and its area is
// rows x columns, each counted inclusively (a single letter has area 1 x 1 = 1).
//
// The widths tried. A find at skip s suggests the widths round(|s| / n) for n = 1 .. 10, rounded
// half up (round(2.5) = 3), leaving out 0: at width |s| / n its letters stand n rows apart in one
// column, or drift slowly across the columns when |s| / n is not whole. A pair is tried at the
// widths suggested by either of its two finds.
//
// The pair's proximity is the smallest area over those widths, and the words' proximity the
// smallest over every pair of a find of the first and a find of the second; a pair of finds at
// the same start and skip (one word the start of the other) is left out. Two words of which one
// has no find have no proximity.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "study/word_finds.h"

namespace quorel {

// The number of widths a find suggests at most: n = 1 .. 10.
inline constexpr int kWidthSplits = 10;

// A word's finds, with the word's length.
struct WordFinds {
  std::int32_t letters = 2;
  std::vector<SkipFind> finds;
};

// The matrix that holds a pair of finds at one width.
struct PairMatrix {
  std::int64_t rows = 0;
  std::int64_t columns = 0;
  std::int32_t width = 0;

  std::int64_t Area() const { return rows * columns; }
};

// The matrix of finds `a` (of `a_letters` letters) and `b` at width `width` (1 or more).
PairMatrix MatrixAtWidth(SkipFind a, std::int32_t a_letters, SkipFind b, std::int32_t b_letters,
                         std::int32_t width);

// The widths a find at `skip` suggests, largest first, each once.
std::vector<std::int32_t> SuggestedWidths(std::int32_t skip);

// The smallest matrix of a pair over the widths either find suggests.
PairMatrix PairProximity(SkipFind a, std::int32_t a_letters, SkipFind b, std::int32_t b_letters);

// The closest pair of two words, and its matrix.
struct ClosestPair {
  SkipFind first;
  SkipFind second;
  PairMatrix matrix;
};

// The words' proximity: the closest pair over all pairs of finds, or none. When several pairs
// share the smallest area, the one given is the first found; its area is the same.
//
// It never compares all pairs: a pair whose letters span `span` positions needs at least
// (span + 1) / w rows at width w, and w is never more than the larger |skip| of the pair, so once
// a pair of area `best` is known only the finds of the second word starting within
// best x (largest width) positions of a find of the first need to be looked at, and of each such
// pair only the widths w with (span + 1) < best x w.
std::optional<ClosestPair> WordProximity(const WordFinds& first, const WordFinds& second);

}  // namespace quorel
