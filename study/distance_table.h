// SPDX-License-Identifier: GPL-3.0-or-later
// The corrected distances of many pairs of words, computed in parallel: each word's families
// once, then c of every pair from them.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "study/corrected_distance.h"

namespace quorel {

struct DistanceTableJob {
  std::u16string_view letters;  // final forms folded
  const LetterCounts* counts = nullptr;
  std::vector<std::u16string> words;  // final forms folded, each kShortestPerturbedWord or more
  std::vector<std::pair<std::size_t, std::size_t>> pairs;  // indices into `words`
};

// The number of pieces of work, for progress: one per word whose families are needed and one per
// pair.
std::int64_t DistanceTableWork(const DistanceTableJob& job);

// c of every pair of the job, in the job's order, on `threads` threads. `done` counts finished
// pieces as they finish. Each thread looks at `stop` before every piece; when it is set, the
// threads end and the result is empty. The result does not depend on the number of threads.
std::vector<CorrectedDistance> ComputeDistanceTable(const DistanceTableJob& job, int threads,
                                                    const std::atomic<bool>& stop,
                                                    std::atomic<std::int64_t>& done);

}  // namespace quorel
