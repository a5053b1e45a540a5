#pragma once

#include <cstdint>

#include "delay/DelayChannel.h"
#include "delay/FrameLoop.h"
#include "delay/ParameterMapping.h"
#include "delay/ProgramRecord.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold {

// The stereo delay: two tempo-timed delays, each with feedback through a low-pass and high-pass
// filter, normal or reversed reading, wet/dry levels and a pan of each echo; 20 parameters and
// 5 programs held in memory.
// Threads: parameter, program, sample-rate and mains calls must not overlap a processing call.
class DelayEffect : public ExtendedEffectBase {
 public:
  // Builds the processing objects and the programs, then applies program 0 at 44100 Hz.
  explicit DelayEffect(audioMasterCallback hostCallback);
  // Releases the programs and the processing objects.
  ~DelayEffect() override;

  // Returns whether every processing object and the programs were allocated.
  bool isComplete() const;

  // Stores a value, held within 0..1 (NaN as 0), in the current program and applies it to the
  // engine. [not while processing]
  void applyParameter(int32_t index, float value) override;
  // Returns the current program's stored value, 0.0 for an unknown index.
  float parameterValue(int32_t index) override;
  // Adds the effect's output to the output buffers. [audio thread]
  void processAdding(float** inputs, float** outputs, int32_t sampleFrames) override;
  // Overwrites the output buffers with the effect's output. [audio thread]
  void processOverwriting(float** inputs, float** outputs, int32_t sampleFrames) override;
  // Makes a program current and applies all its values; ignores indices outside 0..4.
  void selectProgram(int32_t program) override;
  // Renames the current program, keeping at most 23 characters.
  void renameProgram(char* name) override;
  // Copies the current program's name.
  void copyProgramName(char* text) override;
  // Copies a parameter's label, which is its name.
  void copyParameterLabel(int32_t index, char* text) override;
  // Copies the value text of a parameter's stored value.
  void copyParameterDisplay(int32_t index, char* text) override;
  // Copies a parameter's name.
  void copyParameterName(int32_t index, char* text) override;
  // Resizes the engine for a new rate and re-applies the current program; ignores rates that
  // are not finite, not positive or above 1 MHz. [not while processing]
  void changeSampleRate(float rate) override;
  // Silences both delays without moving their positions. [not while processing]
  void onSuspend() override;
  // Copies the effect's name.
  bool copyEffectName(char* text) override;
  // Copies the vendor's name.
  bool copyVendorString(char* text) override;
  // Copies the product's name.
  bool copyProductString(char* text) override;

  // Returns the delay of a channel (0 left, 1 right) in samples, 0 for other channels.
  int32_t delayLength(int32_t channel) const;
  // Returns the storage size of a channel's delay line in samples.
  int32_t delayCapacity(int32_t channel) const;
  // Returns the mapped engine quantity of a parameter, 0.0 for an unknown index.
  float engineValue(int32_t index) const;
  // Returns the sample rate processing runs at.
  float processingSampleRate() const { return sampleRate; }
  // Returns a channel's delay line, or null.
  const DelayLine* delayLine(int32_t channel) const;
  // Returns a channel's loop filter, or null.
  const LoopFilter* loopFilter(int32_t channel) const;
  // Returns a channel's reverse envelope, or null.
  const ReverseEnvelope* reverseEnvelope(int32_t channel) const;
  // Returns a program, or null for an index outside 0..4.
  const ProgramRecord* program(int32_t index) const;
  // Chooses the per-sample loop; the two-lane loop is the default. [not while processing]
  void chooseFrameLoop(FrameLoop loop) { frameLoop = loop; }

 private:
  // Runs one block; replacing chooses between overwriting and adding.
  void processBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replacing);
  // Recomputes both delay lengths and the direction, restarting both lines and envelopes.
  void updateDelayTimes();
  // Returns a channel's delay in samples from its note length and tempo.
  int32_t delaySamples(int32_t noteIndex, int32_t tempoIndex) const;
  // Gives the sample rate to the filters, the delay lines and the envelopes.
  void spreadSampleRate(float rate);
  // Gives both filters the low-pass and high-pass settings of the engine values.
  void updateFilters();
  // Gives both envelopes the ramps of the engine values.
  void updateRamps();
  // Recomputes each channel's feedback, wet and dry gains from the engine values.
  void updateChannelGains();
  // Returns a channel, or null for a number other than 0 or 1.
  const DelayChannel* channel(int32_t number) const;
  // Returns whether every processing object, its storage and the programs exist.
  bool allocationsSucceeded() const;

  DelayChannel channels[2];
  ProgramRecord* programs = nullptr;
  bool complete = false;
  FrameLoop frameLoop = FrameLoop::twoLane;
  LaneSettings laneSettings;
  float engineValues[parameterCountTotal] = {};
  float sampleRate = 44100.0f;
};

}  // namespace wrenfold
