// Runs the controls of a study on every core: each worker takes the next control index, makes and
// searches that control text, and takes the next, until the range is done or a stop is asked
// for. A stop lets every worker finish the control it holds, so the controls reported done are
// exactly those whose task returned.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "study/shard.h"

namespace quorel {

struct ControlRunOptions {
  int workers = 1;
  // Checked between controls; when it becomes true no new control is started.
  const std::atomic<bool>* stop = nullptr;
  // Called on the calling thread about every `tick` with the number of controls done so far, and
  // once more at the end.
  std::function<void(std::int64_t done)> progress;
  std::chrono::milliseconds tick{100};
};

// Calls task(control index, worker number 0 .. workers - 1) once for every index of `range` unless
// stopped; a worker's calls never overlap, so a task may keep scratch space per worker. Gives the
// indices done, in increasing order. An exception thrown by a task stops the run and is thrown
// again from here, after every worker has ended.
std::vector<std::int64_t> RunControls(ControlRange range, const ControlRunOptions& options,
                                      const std::function<void(std::int64_t, int)>& task);

// The number of workers to use by default: the machine's cores, at least 1.
int DefaultWorkers();

}  // namespace quorel
