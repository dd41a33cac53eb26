#include "cli/output/progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace brennock::cli {

ProgressBar::ProgressBar(std::string label, bool wanted)
    : label_(std::move(label)), enabled_(wanted && ::isatty(STDERR_FILENO) == 1) {
  if (enabled_) thread_ = std::thread([this] { Run(); });
}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Finish() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
  std::fputs("\r\033[K", stderr);  // carriage return, clear to the end of the line
  std::fflush(stderr);
}

void ProgressBar::Run() {
  auto start = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(mutex_);
  for (int tick = 0; !stop_; ++tick) {
    Draw(std::chrono::steady_clock::now() - start, tick);
    wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stop_; });
  }
}

void ProgressBar::Draw(std::chrono::steady_clock::duration elapsed, int tick) const {
  char bar[kBarWidth + 1];
  double fraction = fraction_.load();
  if (fraction >= 0) {
    int filled = static_cast<int>((fraction > 1 ? 1 : fraction) * kBarWidth);
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  } else {
    // A block of four bouncing between the ends.
    int span = kBarWidth - 4;
    int at = tick % (2 * span);
    if (at > span) at = 2 * span - at;
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i >= at && i < at + 4 ? '#' : ' ';
  }
  bar[kBarWidth] = '\0';
  double seconds = std::chrono::duration<double>(elapsed).count();
  if (fraction >= 0)
    std::fprintf(stderr, "\r%s [%s] %3d%%  %.1f s", label_.c_str(), bar,
                 static_cast<int>(fraction * 100), seconds);
  else
    std::fprintf(stderr, "\r%s [%s] %.1f s", label_.c_str(), bar, seconds);
  std::fflush(stderr);
}

CountProgress::CountProgress(std::string label, bool wanted)
    : label_(std::move(label)), enabled_(wanted && ::isatty(STDERR_FILENO) == 1) {}

CountProgress::~CountProgress() { Finish(); }

void CountProgress::Show(int64_t done, int64_t total) {
  if (!enabled_) return;
  std::fprintf(stderr, "\r%s: %lld of %lld\033[K", label_.c_str(), static_cast<long long>(done),
               static_cast<long long>(total));
  std::fflush(stderr);
  shown_ = true;
}

void CountProgress::Finish() {
  if (!shown_) return;
  shown_ = false;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
}

}  // namespace brennock::cli
