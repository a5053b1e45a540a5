#pragma once

#include <cstdint>

#include "dsp/DelayChannel.h"

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

// What stays fixed during a block, gathered for the two-lane loop: both channels' filter
// coefficients and gains side by side, left in lane 0, right in lane 1, zeros in lanes 2 and 3.
// Rows are read with unaligned loads: the 32-bit Windows heap aligns the effect to 8 bytes only.
struct LaneSettings {
  // The rows, in the order lowPass b0 b1 b2 a1 a2, highPass b0 b1 b2 a1 a2, feedback, wet from
  // the left channel, wet from the right channel, dry.
  enum Row { lowPass = 0, highPass = 5, feedback = 10, wetFromLeft, wetFromRight, dry, rowCount };
  float rows[rowCount][4] = {};
};

// Gathers the channels' coefficients and gains; runs after every change of them.
// [not while processing]
void gatherLaneSettings(const DelayChannel (&channels)[2], LaneSettings& settings);

// Runs one block channel by channel in plain single-precision arithmetic: the readable
// reference of the signal flow. [audio thread]
void runScalarFrames(DelayChannel (&channels)[2], const FrameBuffers& buffers,
                     const FrameModes& modes);

// Runs one block with the left and right channel in two lanes of one SSE2 register, bit for bit
// the result of runScalarFrames; the settings must be gathered from the channels' current
// state. Without SSE2 it runs runScalarFrames. [audio thread]
void runTwoLaneFrames(DelayChannel (&channels)[2], const LaneSettings& settings,
                      const FrameBuffers& buffers, const FrameModes& modes);

}  // namespace wrenfold
