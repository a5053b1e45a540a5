#pragma once

#include <algorithm>
#include <cmath>

namespace wrenfold {

class DelayLine;
class LoopFilter;
class ReverseEnvelope;

// The largest magnitude a delay line stores (+18 dBFS): a loop whose gain exceeds 1, such as a
// resonant low-pass in a strong feedback path, settles into a bounded oscillation instead of
// climbing to overflow, while every signal below it passes bit for bit.
constexpr float loopBound = 8.0f;

// The quietest magnitude a delay line stores: 2^-100, about -600 dBFS. Below it the filters'
// products fall under the smallest normal float and are flushed, which can hold a quiet loop in a
// cycle that never decays; writing such samples as silence lets every tail reach exact zero.
constexpr float loopFloor = 7.88860905e-31f;

// Returns a filtered sample held within +-loopBound, and 0.0 (never -0.0) below loopFloor.
// [audio thread]
inline float boundedLoopSample(float sample) {
  if (std::fabs(sample) < loopFloor) return 0.0f;
  return std::min(std::max(sample, -loopBound), loopBound);
}

// One channel of the delay: its processing units and the gains processing applies to them.
// The effect owns the units; the gains follow the channel's parameters.
struct DelayChannel {
  DelayLine* line = nullptr;
  LoopFilter* filter = nullptr;
  ReverseEnvelope* envelope = nullptr;
  // Gain of the delayed sample added to the input in the loop.
  float feedback = 0.0f;
  // Wet gain of the delayed sample into the left output (pan times wet level).
  float wetToLeft = 0.0f;
  // Wet gain of the delayed sample into the right output.
  float wetToRight = 0.0f;
  // Gain of the channel's input into its own output.
  float dry = 0.0f;
};

}  // namespace wrenfold
