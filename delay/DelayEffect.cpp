#include "delay/DelayEffect.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Allocation.h"
#include "base/Version.h"
#include "dsp/DelayLine.h"
#include "dsp/FlushDenormals.h"
#include "dsp/LoopFilter.h"
#include "dsp/ReverseEnvelope.h"

namespace wrenfold {

namespace {

constexpr float initialSampleRate = 44100.0f;
constexpr const char* vendorName = "hollow reed tone";

// Returns 1.0 for a switch value of at least 0.5, else 0.0 (NaN included).
inline float switchState(float value) { return value >= 0.5f ? 1.0f : 0.0f; }

// Returns a written value held within 0..1, NaN as 0.0 like the switches, so that a host's stray
// value never reaches the stored program or a mapping that assumes the range.
inline float withinRange(float value) { return value >= 0.0f ? std::min(value, 1.0f) : 0.0f; }

// The parameters whose writes set off each kind of engine work, worked out when compiling.
constexpr uint32_t filterParameters = parametersSetting(WriteEffect::filterUpdate);
constexpr uint32_t gainParameters = parametersSetting(WriteEffect::channelGains);
constexpr uint32_t rampParameters = parametersSetting(WriteEffect::envelopeRamps);

}  // namespace

DelayEffect::DelayEffect(audioMasterCallback hostCallback)
    : ExtendedEffectBase(hostCallback, programCountTotal, parameterCountTotal) {
  for (DelayChannel& channel : channels)
    channel.line = allocateObject<DelayLine>(AllocationSite::processing);
  for (DelayChannel& channel : channels)
    channel.filter = allocateObject<LoopFilter>(AllocationSite::processing);
  for (DelayChannel& channel : channels)
    channel.envelope = allocateObject<ReverseEnvelope>(AllocationSite::processing);
  programs = allocateArray<ProgramRecord>(AllocationSite::programs, programCountTotal);
  if (programs != nullptr)
    for (int32_t i = 1; i < programCountTotal; ++i) programs[i] = ProgramRecord::factory(i);

  currentProgram = 0;
  assignInputCount(2);
  assignOutputCount(2);
  assignUniqueId(fourCharCode('Q', 'W', 'N', '3'));
  declareReplacing(true);
  declareMono(true);
  complete = allocationsSucceeded();
  if (!complete) return;

  sampleRate = initialSampleRate;
  spreadSampleRate(initialSampleRate);
  selectProgram(currentProgram);
  settlePendingWork();
}

DelayEffect::~DelayEffect() {
  delete[] programs;
  for (DelayChannel& channel : channels) {
    delete channel.line;
    delete channel.filter;
    delete channel.envelope;
  }
}

bool DelayEffect::isComplete() const { return complete; }

bool DelayEffect::allocationsSucceeded() const {
  for (const DelayChannel& channel : channels) {
    if (channel.line == nullptr || channel.filter == nullptr || channel.envelope == nullptr)
      return false;
    if (!channel.line->hasStorage()) return false;
  }
  return programs != nullptr;
}

void DelayEffect::applyParameter(int32_t index, float value) {
  if (!isParameterIndex(index) || !isComplete()) return;
  const ParameterRow& row = parameterTable[index];
  value = withinRange(value);
  if (row.isSwitch) value = switchState(value);
  uint32_t work = parameterBit(index);
  switch (row.effect) {
    case WriteEffect::restart:
      work |= restartLines;
      break;
    case WriteEffect::clearLatch: {
      bool rose = false;
      value = moveClearLatch(value, rose);
      if (rose) work |= clearLines;
      break;
    }
    case WriteEffect::filterUpdate:
      // A stage switched off loses its history, so that it starts afresh when switched on again.
      if (index == LpfCutoff && !LoopFilter::lowPassRunsAt(cutoffFromValue(value)))
        work |= resetLowPass;
      if (index == HpfCutoff && !LoopFilter::highPassRunsAt(cutoffFromValue(value)))
        work |= resetHighPass;
      break;
    default:
      break;
  }
  currentRecord().setValue(index, value);
  // Publishes the stored value with the work: whoever takes the bit also sees the value.
  pendingWork.fetch_or(work, std::memory_order_release);
}

float DelayEffect::parameterValue(int32_t index) {
  if (!isParameterIndex(index) || programs == nullptr) return 0.0f;
  return currentRecord().value(index);
}

float DelayEffect::moveClearLatch(float value, bool& rose) {
  float state = clearLatch.load(std::memory_order_relaxed);
  float next;
  do {
    next = clearLatchAfter(state, value);
    rose = next > state;
  } while (!clearLatch.compare_exchange_weak(state, next, std::memory_order_relaxed));
  return next;
}

void DelayEffect::carryOutPendingWork() {
  const uint32_t work = pendingWork.exchange(0, std::memory_order_acquire);
  const ProgramRecord& record = currentRecord();
  for (int32_t index = 0; index < parameterCountTotal; ++index)
    if ((work & parameterBit(index)) != 0)
      engineValues[index] = parameterTable[index].engineQuantity(record.value(index));

  if ((work & filterParameters) != 0) updateFilters();
  for (DelayChannel& channel : channels) {
    if ((work & resetLowPass) != 0) channel.filter->clearLowPassHistory();
    if ((work & resetHighPass) != 0) channel.filter->clearHighPassHistory();
  }
  if ((work & gainParameters) != 0) updateChannelGains();
  // A restart silences the lines as clearing does, and more; both cost the same at any length.
  if ((work & restartLines) != 0) {
    updateDelayTimes();
  } else if ((work & clearLines) != 0) {
    for (DelayChannel& channel : channels) channel.line->clear();
  }
  if ((work & rampParameters) != 0) updateRamps();
  gatherLaneSettings(channels, laneSettings);
}

void DelayEffect::processAdding(float** inputs, float** outputs, int32_t sampleFrames) {
  processBlock(inputs, outputs, sampleFrames, false);
}

void DelayEffect::processOverwriting(float** inputs, float** outputs, int32_t sampleFrames) {
  processBlock(inputs, outputs, sampleFrames, true);
}

void DelayEffect::processBlock(float** inputs, float** outputs, int32_t sampleFrames,
                               bool replacing) {
  if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr || !isComplete()) return;
  // Pending work runs before the flush is set, so coefficients come out as on any other thread.
  settlePendingWork();
  const FlushDenormals flush;
  const FrameBuffers buffers{inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames};
  // The lines read backwards exactly in reverse mode: updateDelayTimes sets their direction
  // from the same switch, on every change of it.
  const FrameModes modes{engineValues[NomorRev] > 0.5f, engineValues[Bypass] >= 0.5f, replacing};
  if (frameLoop == FrameLoop::twoLane)
    runTwoLaneFrames(channels, laneSettings, buffers, modes);
  else
    runScalarFrames(channels, buffers, modes);
}

void DelayEffect::updateFilters() {
  const float lowPassHz = cutoffFromValue(engineValues[LpfCutoff]);
  const float lowPassQ = qFromValue(engineValues[LpfQ]);
  const float highPassHz = cutoffFromValue(engineValues[HpfCutoff]);
  for (DelayChannel& channel : channels) {
    channel.filter->setLowPass(lowPassHz, lowPassQ);
    channel.filter->setHighPass(highPassHz);
  }
}

void DelayEffect::updateRamps() {
  for (DelayChannel& channel : channels)
    channel.envelope->setRamps(engineValues[RevAttack], engineValues[RevRelease]);
}

void DelayEffect::updateChannelGains() {
  for (int32_t c = 0; c < 2; ++c) {
    const float wet = engineValues[WetLevelL + c];
    const float pan = engineValues[WetPanL + c];
    channels[c].feedback = engineValues[FeedBackL + c];
    channels[c].wetToLeft = (1.0f - pan) * wet;
    channels[c].wetToRight = pan * wet;
    channels[c].dry = engineValues[DryLevelL + c];
  }
}

void DelayEffect::updateDelayTimes() {
  for (int32_t c = 0; c < 2; ++c) {
    channels[c].line->setLength(delaySamples(NoteLenL + c, TempoL + c));
    channels[c].envelope->setLength(channels[c].line->activeLength());
  }
  const int32_t direction = engineValues[NomorRev] >= 0.5f ? 1 : 0;
  for (DelayChannel& channel : channels) {
    channel.line->setReverse(direction);
    channel.envelope->rewind();
  }
}

int32_t DelayEffect::delaySamples(int32_t noteIndex, int32_t tempoIndex) const {
  const float samples = (engineValues[noteIndex] / engineValues[tempoIndex]) * sampleRate * 240.0f;
  return truncateToInt(samples);
}

void DelayEffect::spreadSampleRate(float rate) {
  for (DelayChannel& channel : channels) channel.filter->setSampleRate(rate);
  for (DelayChannel& channel : channels) channel.line->setSampleRate(rate);
  for (DelayChannel& channel : channels) channel.envelope->setSampleRate(rate);
}

void DelayEffect::selectProgram(int32_t program) {
  if (program < 0 || program >= programCountTotal || !isComplete()) return;
  currentProgram.store(program, std::memory_order_relaxed);
  for (int32_t i = 0; i < parameterCountTotal; ++i) applyParameter(i, programs[program].value(i));
}

void DelayEffect::renameProgram(char* name) {
  if (programs != nullptr) currentRecord().rename(name);
}

void DelayEffect::copyProgramName(char* text) {
  if (programs == nullptr) {
    text[0] = '\0';
    return;
  }
  currentRecord().copyName(text);
}

void DelayEffect::copyParameterLabel(int32_t index, char* text) { copyParameterName(index, text); }

void DelayEffect::copyParameterDisplay(int32_t index, char* text) {
  if (isParameterIndex(index))
    parameterTable[index].hostText(parameterValue(index), text);
  else
    text[0] = '\0';
}

void DelayEffect::copyParameterName(int32_t index, char* text) {
  if (isParameterIndex(index)) std::strcpy(text, parameterTable[index].name);
}

void DelayEffect::changeSampleRate(float rate) {
  if (!std::isfinite(rate) || !(rate > 0.0f) || rate > highestSampleRate || !isComplete()) return;
  settlePendingWork();
  sampleRate = rate;
  spreadSampleRate(rate);
  selectProgram(currentProgram);
  settlePendingWork();
}

void DelayEffect::onSuspend() {
  if (!isComplete()) return;
  settlePendingWork();
  for (DelayChannel& channel : channels) channel.line->clear();
}

void DelayEffect::onOpen() {
  if (isComplete()) settlePendingWork();
}

void DelayEffect::onClose() {
  if (isComplete()) settlePendingWork();
}

bool DelayEffect::copyEffectName(char* text) {
  std::strcpy(text, effectNameText);
  return true;
}

bool DelayEffect::copyVendorString(char* text) {
  std::strcpy(text, vendorName);
  return true;
}

bool DelayEffect::copyProductString(char* text) {
  std::strcpy(text, vendorName);
  return true;
}

int32_t DelayEffect::delayLength(int32_t channel) const {
  const DelayLine* line = delayLine(channel);
  return line != nullptr ? line->activeLength() : 0;
}

int32_t DelayEffect::delayCapacity(int32_t channel) const {
  const DelayLine* line = delayLine(channel);
  return line != nullptr ? line->storageCapacity() : 0;
}

float DelayEffect::engineValue(int32_t index) const {
  if (!isParameterIndex(index)) return 0.0f;
  settleForInspection();
  return engineValues[index];
}

void DelayEffect::settleForInspection() const {
  if (isComplete()) const_cast<DelayEffect*>(this)->settlePendingWork();
}

const DelayChannel* DelayEffect::settledChannel(int32_t number) const {
  if (number != 0 && number != 1) return nullptr;
  settleForInspection();
  return &channels[number];
}

const DelayLine* DelayEffect::delayLine(int32_t number) const {
  const DelayChannel* found = settledChannel(number);
  return found != nullptr ? found->line : nullptr;
}

const LoopFilter* DelayEffect::loopFilter(int32_t number) const {
  const DelayChannel* found = settledChannel(number);
  return found != nullptr ? found->filter : nullptr;
}

const ReverseEnvelope* DelayEffect::reverseEnvelope(int32_t number) const {
  const DelayChannel* found = settledChannel(number);
  return found != nullptr ? found->envelope : nullptr;
}

const ProgramRecord* DelayEffect::program(int32_t index) const {
  if (programs == nullptr || index < 0 || index >= programCountTotal) return nullptr;
  return &programs[index];
}

}  // namespace wrenfold
