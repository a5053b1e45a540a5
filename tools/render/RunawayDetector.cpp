#include "tools/render/RunawayDetector.h"

#include <algorithm>
#include <cmath>

namespace wrenfold {

RunawayDetector::RunawayDetector(int64_t windowFrames)
    : windowFrames_(std::max<int64_t>(windowFrames, 1)) {}

void RunawayDetector::observe(const float* interleaved, int64_t frames) {
  for (int64_t i = 0; i < frames; ++i) {
    windowPeak_ = std::max({windowPeak_, std::fabs(interleaved[2 * i]),
                            std::fabs(interleaved[2 * i + 1])});
    if (++framesInWindow_ == windowFrames_) {
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
