#pragma once

#include <atomic>
#include <cstdint>

#include "delay/ProgramRecord.h"
#include "dsp/DelayChannel.h"
#include "dsp/FrameLoop.h"
#include "host/ExtendedEffectBase.h"
#include "params/ParameterTable.h"

namespace wrenfold {

// The stereo delay: two tempo-timed delays, each with feedback through a low-pass and high-pass
// filter, normal or reversed reading, wet/dry levels and a pan of each echo; 20 parameters and
// 5 programs held in memory.
// Threads: parameter writes, program changes and every query may come from any thread at any
// time, also while another thread processes: a write stores its value at once and leaves its
// effect on the engine to the next processing call. Sample-rate, mains, open and close calls must
// not overlap a processing call.
class DelayEffect : public ExtendedEffectBase {
 public:
  // Builds the processing objects and the programs, then applies program 0 at 44100 Hz.
  explicit DelayEffect(audioMasterCallback hostCallback);
  // Releases the programs and the processing objects.
  ~DelayEffect() override;

  // Returns whether every processing object and the programs were allocated.
  bool isComplete() const;

  // Stores a value, held within 0..1 (NaN as 0), in the current program, and marks what it sets
  // off in the engine for the next processing call. [any thread]
  void applyParameter(int32_t index, float value) override;
  // Returns the current program's stored value, 0.0 for an unknown index. [any thread]
  float parameterValue(int32_t index) override;
  // Adds the effect's output to the output buffers. [audio thread]
  void processAdding(float** inputs, float** outputs, int32_t sampleFrames) override;
  // Overwrites the output buffers with the effect's output. [audio thread]
  void processOverwriting(float** inputs, float** outputs, int32_t sampleFrames) override;
  // Makes a program current and applies all its values; ignores indices outside 0..4.
  // [any thread]
  void selectProgram(int32_t program) override;
  // Renames the current program, keeping at most 23 characters. [any thread]
  void renameProgram(char* name) override;
  // Copies the current program's name. [any thread]
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
  // Brings the engine up to date with every write so far. [not while processing]
  void onOpen() override;
  // Brings the engine up to date with every write so far. [not while processing]
  void onClose() override;
  // Copies the effect's name.
  bool copyEffectName(char* text) override;
  // Copies the vendor's name.
  bool copyVendorString(char* text) override;
  // Copies the product's name.
  bool copyProductString(char* text) override;

  // The engine's state, for inspection: each first carries out the work that earlier writes
  // left, so that it reports what a processing call would run with. [not while processing]
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
  // Returns a program, or null for an index outside 0..4. [any thread]
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
  // Returns a channel after carrying out pending work, or null for a number other than 0 or 1.
  const DelayChannel* settledChannel(int32_t number) const;
  // Carries out pending work for an inspection: the engine is only brought to the state that
  // the writes already stand for, so the effect stays logically unchanged.
  void settleForInspection() const;
  // Returns the current program's record.
  ProgramRecord& currentRecord() {
    return programs[currentProgram.load(std::memory_order_relaxed)];
  }
  // Moves the clear latch for a written value and returns its new state; sets `rose` when a
  // low latch was raised.
  float moveClearLatch(float value, bool& rose);
  // Carries out the engine work that writes left, if any; one relaxed load when there is none.
  // [audio thread, or any thread while nothing processes]
  void settlePendingWork() {
    if (pendingWork.load(std::memory_order_relaxed) != 0) carryOutPendingWork();
  }
  // Takes the pending work and carries it out in one pass.
  void carryOutPendingWork();
  // Returns whether every processing object, its storage and the programs exist.
  bool allocationsSucceeded() const;

  DelayChannel channels[2];
  ProgramRecord* programs = nullptr;
  bool complete = false;
  FrameLoop frameLoop = FrameLoop::twoLane;
  LaneSettings laneSettings;
  float engineValues[parameterCountTotal] = {};
  float sampleRate = 44100.0f;

  // Engine work that writes leave for the next processing call: bit i marks a parameter
  // whose engine value is to follow its stored value, and with it the work its row of the
  // parameter table names; the flags below, in the bits just above the parameters' own, mark
  // what a write's value sets off.
  //
  // Writes between two processing calls coalesce into one pass, and that pass leaves the engine
  // exactly as carrying out each write in turn would have, because no audio runs in between:
  // - engine values, filter coefficients, gains and envelope ramps are functions of the latest
  //   stored values alone, so only the last write of each parameter counts;
  // - a restart (mode, tempo or note length) sets both lengths, silences the active stretch of
  //   both lines and rewinds lines and envelopes; its inputs change only through writes that
  //   restart again (or through a rate change, which settles first), so the last restart of a
  //   series decides the state, and one restart with the final values equals it;
  // - clearing silences the active stretch and keeps the positions: clearing twice, or clearing
  //   next to a restart, leaves the same samples silent;
  // - a filter stage switched off by one write and on by a later one restarts from a cleared
  //   history; the reset flags remember the stage was off in between.
  enum PendingFlag : uint32_t {
    restartLines = parameterBit(parameterCountTotal),
    clearLines = restartLines << 1,
    resetLowPass = clearLines << 1,
    resetHighPass = resetLowPass << 1,
  };
  static_assert(parameterCountTotal + 4 <= 32, "parameters and flags share one 32-bit word");
  std::atomic<uint32_t> pendingWork{0};
  // The clear switch's latch: 1.0 after a rising write, the host-visible state of ClearBuffer.
  std::atomic<float> clearLatch{0.0f};
};

}  // namespace wrenfold
