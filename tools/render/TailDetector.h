#pragma once

#include <cstdint>

namespace wrenfold {

// Decides how much of the tail rendered after the input to keep: rendering may stop once the
// output has stayed below a threshold for a given number of frames, or at a frame limit, and the
// quiet frames after the last audible one are left out.
class TailDetector {
 public:
  // Watches for `quiet` frames below thresholdDb (dBFS), stopping after at most `most` frames.
  TailDetector(double thresholdDb, int64_t quiet, int64_t most);

  // Takes the next block of the tail as interleaved stereo frames.
  void observe(const float* interleaved, int64_t frames);
  // Returns true once the tail has been quiet long enough or reached the limit.
  bool finished() const;
  // Returns how many more frames to render at most: the distance to the limit.
  int64_t remaining() const { return maxFrames - observed; }
  // Returns true when the tail stopped at the frame limit while still audible.
  bool reachedLimit() const;
  // Returns the number of tail frames to keep: up to and including the last audible one.
  int64_t framesToKeep() const { return lastAudible + 1; }

 private:
  float threshold;
  int64_t quietFrames;
  int64_t maxFrames;
  int64_t observed = 0;
  int64_t lastAudible = -1;
};

}  // namespace wrenfold
