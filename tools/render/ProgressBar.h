#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace wrenfold {

// A one-line progress bar for long renders: it stays hidden for the first two seconds, so quick
// renders print nothing, and is never shown when its stream is not a terminal.
class ProgressBar {
 public:
  using Clock = std::chrono::steady_clock;

  // Draws on the given stream when enabled; total is the most work the render can take.
  ProgressBar(std::FILE* stream, bool enabled, int64_t total);

  // Reports the work done so far at the given time and redraws when the bar changed.
  void update(int64_t done, Clock::time_point now = Clock::now());
  // Erases the bar if it was drawn.
  void finish();
  // Returns true when the bar has been drawn at least once.
  bool shown() const { return shown_; }
  // Returns true when the stream is a terminal.
  static bool isTerminal(std::FILE* stream);

 private:
  static constexpr int kWidth = 40;

  std::FILE* stream_;
  bool enabled_;
  int64_t total_;
  Clock::time_point start_;
  int lastPercent_ = -1;
  bool shown_ = false;
};

}  // namespace wrenfold
