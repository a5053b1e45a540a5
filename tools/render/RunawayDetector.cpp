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

RunawayDetector::RunawayDetector(int64_t windowFrames)
    : windowFrames_(std::max<int64_t>(windowFrames, 1)) {}

void RunawayDetector::observe(const float* interleaved, int64_t frames) {
  while (frames > 0) {
    const int64_t take = std::min(frames, windowFrames_ - framesInWindow_);
    windowPeak_ = std::max(windowPeak_, peakOf(interleaved, 2 * take));
    framesInWindow_ += take;
    interleaved += 2 * take;
    frames -= take;
    if (framesInWindow_ == windowFrames_) {
      closeWindow();
    }
  }
}

int64_t RunawayDetector::longestOverFrames() const {
  const int64_t open = windowPeak_ > 1.0f ? currentRun_ + framesInWindow_ : 0;
  return std::max(longestRun_, open);
}

void RunawayDetector::closeWindow() {
  currentRun_ = windowPeak_ > 1.0f ? currentRun_ + framesInWindow_ : 0;
  longestRun_ = std::max(longestRun_, currentRun_);
  framesInWindow_ = 0;
  windowPeak_ = 0.0f;
}

}  // namespace wrenfold
