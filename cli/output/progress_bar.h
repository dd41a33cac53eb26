#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace brennock::cli {

// A progress line on standard error, redrawn in place by a background thread while long work runs
// on the caller's thread. With a known fraction it draws a filled bar and the percentage; without
// one it draws a moving block and the elapsed time. Disabled (does nothing at all) unless asked
// for and standard error is a terminal.
class ProgressBar {
 public:
  ProgressBar(std::string label, bool wanted);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  bool Enabled() const noexcept { return enabled_; }
  // 0 to 1; a negative value goes back to not knowing.
  void Set(double fraction) noexcept { fraction_.store(fraction); }
  // Stops drawing and clears the line.
  void Finish();

  static constexpr int kBarWidth = 30;

 private:
  void Run();
  void Draw(std::chrono::steady_clock::duration elapsed, int tick) const;

  std::string label_;
  bool enabled_;
  std::atomic<double> fraction_{-1.0};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

// "customer: 1500 of 93000" on standard error, rewritten in place as pages of a listing arrive.
// Disabled unless asked for and standard error is a terminal, so redirected output stays clean.
class CountProgress {
 public:
  CountProgress(std::string label, bool wanted);
  ~CountProgress();
  CountProgress(const CountProgress&) = delete;
  CountProgress& operator=(const CountProgress&) = delete;

  void Show(int64_t done, int64_t total);
  // Clears the line.
  void Finish();

 private:
  std::string label_;
  bool enabled_;
  bool shown_ = false;
};

}  // namespace brennock::cli
