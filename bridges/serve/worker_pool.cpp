#include "bridges/serve/worker_pool.h"

#include <utility>

namespace brennock::serve {

WorkerPool::WorkerPool(size_t threads) {
  threads_.reserve(threads);
  for (size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Run(); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

bool WorkerPool::Post(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    jobs_.push_back(std::move(job));
  }
  changed_.notify_one();
  return true;
}

bool WorkerPool::Stop(std::chrono::steady_clock::time_point deadline) {
  std::deque<std::function<void()>> dropped;
  std::unique_lock lock(mutex_);
  stopping_ = true;
  dropped.swap(jobs_);
  changed_.notify_all();
  bool idle = idle_.wait_until(lock, deadline, [&] { return running_ == 0; });
  lock.unlock();
  dropped.clear();  // outside the lock: a job's captures may take time to release
  return idle;
}

void WorkerPool::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // stopping, nothing left
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    ++running_;
    lock.unlock();
    job();
    job = nullptr;
    lock.lock();
    // Only Stop waits for idleness; waking every idle worker here would cost each request dearly.
    if (--running_ == 0 && stopping_) idle_.notify_all();
  }
}

}  // namespace brennock::serve
