#include "study/control_runner.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace quorel {

int DefaultWorkers() {
  return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

std::vector<std::int64_t> RunControls(ControlRange range, const ControlRunOptions& options,
                                      const std::function<void(std::int64_t, int)>& task) {
  std::atomic<std::int64_t> next{range.first};
  std::atomic<std::int64_t> done_count{0};
  std::vector<char> done(static_cast<std::size_t>(std::max<std::int64_t>(range.Size(), 0)), 0);
  std::atomic<bool> failed{false};
  std::exception_ptr failure;
  std::mutex mutex;
  std::condition_variable finished;
  int running = std::max(1, options.workers);

  const auto stopped = [&] {
    return failed.load() || (options.stop != nullptr && options.stop->load());
  };
  const auto work = [&](int worker) {
    try {
      for (;;) {
        if (stopped()) {
          break;
        }
        const std::int64_t index = next.fetch_add(1);
        if (index >= range.end) {
          break;
        }
        task(index, worker);
        done[static_cast<std::size_t>(index - range.first)] = 1;
        done_count.fetch_add(1);
      }
    } catch (...) {
      const std::lock_guard lock(mutex);
      if (!failure) {
        failure = std::current_exception();
      }
      failed = true;
    }
    const std::lock_guard lock(mutex);
    --running;
    finished.notify_all();
  };

  std::vector<std::thread> threads;
  const int workers = running;
  for (int worker = 0; worker < workers; ++worker) {
    threads.emplace_back(work, worker);
  }
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, options.tick, [&] { return running == 0; })) {
      if (options.progress) {
        lock.unlock();
        options.progress(done_count.load());
        lock.lock();
      }
    }
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  if (failure) {
    std::rethrow_exception(failure);
  }
  if (options.progress) {
    options.progress(done_count.load());
  }
  std::vector<std::int64_t> indices;
  for (std::size_t k = 0; k < done.size(); ++k) {
    if (done[k] != 0) {
      indices.push_back(range.first + static_cast<std::int64_t>(k));
    }
  }
  return indices;
}

}  // namespace quorel
