#include "tools/render/TailDetector.h"

#include <algorithm>
#include <cmath>

namespace wrenfold {

TailDetector::TailDetector(double thresholdDb, int64_t quietFrames, int64_t maxFrames)
    : threshold_(static_cast<float>(std::pow(10.0, thresholdDb / 20.0))),
      quietFrames_(std::max<int64_t>(quietFrames, 1)),
      maxFrames_(std::max<int64_t>(maxFrames, 0)) {}

void TailDetector::observe(const float* interleaved, int64_t frames) {
  for (int64_t i = 0; i < frames; ++i) {
    // A non-finite sample counts as audible, so it can never end the tail early.
    if (!(std::fabs(interleaved[2 * i]) < threshold_) ||
        !(std::fabs(interleaved[2 * i + 1]) < threshold_)) {
      lastAudible_ = observed_ + i;
    }
  }
  observed_ += frames;
}

bool TailDetector::finished() const {
  return observed_ >= maxFrames_ || observed_ - (lastAudible_ + 1) >= quietFrames_;
}

bool TailDetector::reachedLimit() const {
  return observed_ >= maxFrames_ && observed_ - (lastAudible_ + 1) < quietFrames_;
}

}  // namespace wrenfold
