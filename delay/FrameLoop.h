#pragma once

#include <cstdint>

#include "delay/DelayChannel.h"

namespace wrenfold {

// The host's buffers for one processing block: two input and two output channels.
struct FrameBuffers {
  const float* inLeft;
  const float* inRight;
  float* outLeft;
  float* outRight;
  int32_t frames;
};

// The switches a block runs with; parameters cannot change during a block.
struct FrameModes {
  bool reversed;
  bool bypassed;
  bool replacing;
};

// Which per-sample loop processing runs.
enum class FrameLoop { scalar, twoLane };

// Runs one block channel by channel in plain single-precision arithmetic: the readable
// reference of the signal flow. [audio thread]
void runScalarFrames(DelayChannel (&channels)[2], const FrameBuffers& buffers,
                     const FrameModes& modes);

// Runs one block with the left and right channel in two lanes of one SSE2 register, bit for bit
// the result of runScalarFrames; without SSE2 it runs runScalarFrames. [audio thread]
void runTwoLaneFrames(DelayChannel (&channels)[2], const FrameBuffers& buffers,
                      const FrameModes& modes);

}  // namespace wrenfold
