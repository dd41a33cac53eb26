#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace brennock::serve {

// A fixed set of threads running posted jobs in order. Handlers that block (a request waiting for
// QuickBooks, a password check) run here, never on the thread that reads and writes sockets.
class WorkerPool {
 public:
  explicit WorkerPool(size_t threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // False once the pool is stopping: the job is not run.
  bool Post(std::function<void()> job);
  // Drops the jobs not yet started and waits until the running ones end or the deadline passes;
  // true when every thread is idle. The threads are joined by the destructor.
  bool Stop(std::chrono::steady_clock::time_point deadline);

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;  // a job came, or the pool stops
  std::condition_variable idle_;     // the last running job ended while stopping
  std::deque<std::function<void()>> jobs_;
  size_t running_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace brennock::serve
