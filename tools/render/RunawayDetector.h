#pragma once

#include <cstdint>

namespace wrenfold {

// Finds the longest stretch in which the output stays above 0 dBFS. The output is cut into short
// windows; a run of windows that each peak above full scale is one stretch, so a loud oscillation
// counts although it crosses zero, and a single over does not.
class RunawayDetector {
 public:
  // Uses windows of the given length in frames (at least one).
  explicit RunawayDetector(int64_t window);

  // Takes the next interleaved stereo frames.
  void observe(const float* interleaved, int64_t frames);
  // Returns the longest stretch seen so far, in frames.
  int64_t longestOverFrames() const;

 private:
  // Closes the current window and extends or ends the current stretch.
  void closeWindow();

  int64_t windowFrames;
  int64_t framesInWindow = 0;
  float windowPeak = 0.0f;
  int64_t currentRun = 0;
  int64_t longestRun = 0;
};

}  // namespace wrenfold
