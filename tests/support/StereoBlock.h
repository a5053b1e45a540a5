#pragma once

#include <cstdint>
#include <vector>

#include "delay/DelayEffect.h"

namespace wrenfold::testing {

// Stereo input and output blocks for one processing call.
struct StereoBlock {
  explicit StereoBlock(std::size_t frames, float fill = 0.0f)
      : inL(frames, fill), inR(frames, fill), outL(frames, 0.0f), outR(frames, 0.0f) {}
  // Runs the effect's replacing or accumulating entry over the whole block.
  void run(DelayEffect& effect, bool replacing = true) {
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    const int32_t frames = static_cast<int32_t>(inL.size());
    if (replacing)
      effect.processOverwriting(ins, outs, frames);
    else
      effect.processAdding(ins, outs, frames);
  }
  std::vector<float> inL, inR, outL, outR;
};

}  // namespace wrenfold::testing
