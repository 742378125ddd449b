// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/distance_table.h"

#include <algorithm>
#include <thread>

namespace quorel {
namespace {

// The words that some pair needs, in increasing index order.
std::vector<std::size_t> NeededWords(const DistanceTableJob& job) {
  std::vector<bool> needed(job.words.size(), false);
  for (const auto& [first, second] : job.pairs) {
    needed[first] = true;
    needed[second] = true;
  }
  std::vector<std::size_t> indices;
  for (std::size_t i = 0; i < needed.size(); ++i) {
    if (needed[i]) {
      indices.push_back(i);
    }
  }
  return indices;
}

// Runs `piece(i)` for i = 0..count-1 on `threads` threads, each taking the next i in turn, until
// all are done or `stop` is set. Gives whether all were done.
template <typename Piece>
bool RunInParallel(std::size_t count, int threads, const std::atomic<bool>& stop,
                   std::atomic<std::int64_t>& done, Piece piece) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (;;) {
      if (stop.load()) {
        return;
      }
      const std::size_t i = next.fetch_add(1);
      if (i >= count) {
        return;
      }
      piece(i);
      done.fetch_add(1);
    }
  };
  std::vector<std::thread> workers;
  const auto extra = static_cast<std::size_t>(std::max(threads, 1) - 1);
  for (std::size_t t = 0; t < std::min(extra, count); ++t) {
    workers.emplace_back(work);
  }
  work();
  for (std::thread& worker : workers) {
    worker.join();
  }
  return !stop.load();
}

}  // namespace

std::int64_t DistanceTableWork(const DistanceTableJob& job) {
  return static_cast<std::int64_t>(NeededWords(job).size() + job.pairs.size());
}

std::vector<CorrectedDistance> ComputeDistanceTable(const DistanceTableJob& job, int threads,
                                                    const std::atomic<bool>& stop,
                                                    std::atomic<std::int64_t>& done) {
  const std::vector<std::size_t> needed = NeededWords(job);
  std::vector<WordFamilies> families(job.words.size());
  if (!RunInParallel(needed.size(), threads, stop, done, [&](std::size_t i) {
        families[needed[i]] = FamiliesOfWord(job.letters, *job.counts, job.words[needed[i]]);
      })) {
    return {};
  }
  std::vector<CorrectedDistance> distances(job.pairs.size());
  if (!RunInParallel(job.pairs.size(), threads, stop, done, [&](std::size_t i) {
        distances[i] =
            CorrectedDistanceOf(families[job.pairs[i].first], families[job.pairs[i].second]);
      })) {
    return {};
  }
  return distances;
}

}  // namespace quorel
