#include "tools/render/TailDetector.h"

#include <algorithm>
#include <cmath>

namespace wrenfold {

TailDetector::TailDetector(double thresholdDb, int64_t quiet, int64_t most)
    : threshold(static_cast<float>(std::pow(10.0, thresholdDb / 20.0))),
      quietFrames(std::max<int64_t>(quiet, 1)),
      maxFrames(std::max<int64_t>(most, 0)) {}

void TailDetector::observe(const float* interleaved, int64_t frames) {
  for (int64_t i = 0; i < frames; ++i) {
    // A non-finite sample counts as audible, so it can never end the tail early.
    if (!(std::fabs(interleaved[2 * i]) < threshold) ||
        !(std::fabs(interleaved[2 * i + 1]) < threshold)) {
      lastAudible = observed + i;
    }
  }
  observed += frames;
}

bool TailDetector::finished() const {
  return observed >= maxFrames || observed - (lastAudible + 1) >= quietFrames;
}

bool TailDetector::reachedLimit() const {
  return observed >= maxFrames && observed - (lastAudible + 1) < quietFrames;
}

}  // namespace wrenfold
