#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace wrenfold {

// A one-line progress bar for long renders with the time left: it stays hidden for the first two
// seconds, so quick renders print nothing, and is never shown when its stream is not a terminal.
// A bar that was shown ends as a line of its own at 100 % with the time taken.
class ProgressBar {
 public:
  using Clock = std::chrono::steady_clock;

  // Draws on the output when `show` is set; `frames` is the most work the render can take.
  ProgressBar(std::FILE* output, bool show, int64_t frames);

  // Reports the work done so far at the given time and redraws when the bar changed.
  void update(int64_t done, Clock::time_point now = Clock::now());
  // Erases a bar that was drawn but never finished, so an error message gets a clean line.
  ~ProgressBar();

  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Completes the bar at 100 % with the time taken and ends its line, if it was drawn.
  void finish(Clock::time_point now = Clock::now());
  // Returns true when the bar has been drawn at least once.
  bool shown() const { return barShown; }
  // Returns true when the stream is a terminal.
  static bool isTerminal(std::FILE* stream);

 private:
  static constexpr int imageWidth = 40;

  // Draws the bar's line unless it is the one already shown.
  void draw(const char* label, int percent, const std::string& time);
  // Returns seconds as minutes and seconds, "1:05".
  static std::string clockTime(double seconds);

  std::FILE* stream;
  bool enabled;
  int64_t total;
  Clock::time_point start;
  std::string lastLine;
  bool barShown = false;
  bool finished = false;
};

}  // namespace wrenfold
