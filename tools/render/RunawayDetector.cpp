#include "tools/render/RunawayDetector.h"

#include <algorithm>
#include <cmath>

namespace wrenfold {

namespace {

// A plain loop over one window's samples, which the compiler turns into vector maxima.
float peakOf(const float* samples, int64_t count) {
  float peak = 0.0f;
  for (int64_t i = 0; i < count; ++i) {
    peak = std::max(peak, std::fabs(samples[i]));
  }
  return peak;
}

}  // namespace

RunawayDetector::RunawayDetector(int64_t window) : windowFrames(std::max<int64_t>(window, 1)) {}

void RunawayDetector::observe(const float* interleaved, int64_t frames) {
  while (frames > 0) {
    const int64_t take = std::min(frames, windowFrames - framesInWindow);
    windowPeak = std::max(windowPeak, peakOf(interleaved, 2 * take));
    framesInWindow += take;
    interleaved += 2 * take;
    frames -= take;
    if (framesInWindow == windowFrames) {
      closeWindow();
    }
  }
}

int64_t RunawayDetector::longestOverFrames() const {
  const int64_t open = windowPeak > 1.0f ? currentRun + framesInWindow : 0;
  return std::max(longestRun, open);
}

void RunawayDetector::closeWindow() {
  currentRun = windowPeak > 1.0f ? currentRun + framesInWindow : 0;
  longestRun = std::max(longestRun, currentRun);
  framesInWindow = 0;
  windowPeak = 0.0f;
}

}  // namespace wrenfold
