#include "delay/DelayEffect.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "delay/DelayLine.h"
#include "delay/LoopFilter.h"
#include "delay/ParameterFormat.h"
#include "delay/ReverseEnvelope.h"
#include "base/Allocation.h"

namespace wrenfold {

namespace {

constexpr float initialSampleRate = 44100.0f;
constexpr const char* effectName = "Wrenfold version1.3.0";
constexpr const char* vendorName = "hollow reed tone";

// Returns 1.0 for a switch value of at least 0.5, else 0.0 (NaN included).
inline float switchState(float value) { return value >= 0.5f ? 1.0f : 0.0f; }

// Returns a written value held within 0..1, NaN as 0.0 like the switches, so that a host's stray
// value never reaches the stored program or a mapping that assumes the range.
inline float withinRange(float value) { return value >= 0.0f ? std::min(value, 1.0f) : 0.0f; }

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
    if (!channel.line->hasStorage() || !channel.envelope->hasStorage()) return false;
  }
  return programs != nullptr;
}

void DelayEffect::applyParameter(int32_t index, float value) {
  if (!isParameterIndex(index) || !isComplete()) return;
  value = withinRange(value);
  float& stored = programs[currentProgram].values[index];
  float& engine = engineValues[index];
  switch (index) {
    case NomorRev:
      stored = engine = switchState(value);
      updateDelayTimes();
      break;
    case ClearBuffer:
      if (engine < 0.5f && value >= 0.5f) {
        stored = engine = 1.0f;
        channels[0].line->clear();
        channels[1].line->clear();
      } else {
        stored = engine = value > 0.5f ? 1.0f : 0.0f;
      }
      break;
    case Bypass:
      stored = engine = switchState(value);
      break;
    case LpfCutoff:
    case LpfQ:
    case HpfCutoff:
      stored = engine = value;
      updateFilters();
      break;
    case TempoL:
    case TempoR:
      stored = value;
      engine = tempoFromValue(value);
      updateDelayTimes();
      break;
    case NoteLenL:
    case NoteLenR:
      stored = value;
      engine = noteLengthTable[noteIndexFromValue(value)].fraction;
      updateDelayTimes();
      break;
    case WetLevelL:
    case WetLevelR:
    case DryLevelL:
    case DryLevelR:
      stored = value;
      engine = levelFromValue(value);
      updateChannelGains();
      break;
    case WetPanL:
    case WetPanR:
      stored = engine = value;
      updateChannelGains();
      break;
    case RevAttack:
    case RevRelease:
      stored = engine = value;
      updateRamps();
      break;
    default:
      // FeedBackL and FeedBackR: unmapped gains the channels apply.
      stored = engine = value;
      updateChannelGains();
      break;
  }
  gatherLaneSettings(channels, laneSettings);
}

float DelayEffect::parameterValue(int32_t index) {
  if (!isParameterIndex(index) || programs == nullptr) return 0.0f;
  return programs[currentProgram].values[index];
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
  const float samples =
      (engineValues[noteIndex] / engineValues[tempoIndex]) * sampleRate * 240.0f;
  return truncateToInt(samples);
}

void DelayEffect::spreadSampleRate(float rate) {
  for (DelayChannel& channel : channels) channel.filter->setSampleRate(rate);
  for (DelayChannel& channel : channels) channel.line->setSampleRate(rate);
  for (DelayChannel& channel : channels) channel.envelope->setSampleRate(rate);
}

void DelayEffect::selectProgram(int32_t program) {
  if (program < 0 || program >= programCountTotal || !isComplete()) return;
  currentProgram = program;
  for (int32_t i = 0; i < parameterCountTotal; ++i)
    applyParameter(i, programs[program].values[i]);
}

void DelayEffect::renameProgram(char* name) {
  if (programs != nullptr) programs[currentProgram].rename(name);
}

void DelayEffect::copyProgramName(char* text) {
  if (programs == nullptr) {
    text[0] = '\0';
    return;
  }
  std::memcpy(text, programs[currentProgram].name, std::strlen(programs[currentProgram].name) + 1);
}

void DelayEffect::copyParameterLabel(int32_t index, char* text) { copyParameterName(index, text); }

void DelayEffect::copyParameterDisplay(int32_t index, char* text) {
  const float value = parameterValue(index);
  switch (index) {
    case NomorRev:
      formatMode(value, text);
      break;
    case ClearBuffer:
    case Bypass:
    case RevAttack:
    case RevRelease:
      formatPlainNumber(value, text);
      break;
    case LpfCutoff:
      formatLpfCutoff(value, text);
      break;
    case LpfQ:
      formatQ(value, text);
      break;
    case HpfCutoff:
      formatHpfCutoff(value, text);
      break;
    case TempoL:
    case TempoR:
      formatTempo(value, text);
      break;
    case NoteLenL:
    case NoteLenR:
      formatNoteLength(value, text);
      break;
    case FeedBackL:
    case FeedBackR:
      formatFeedback(value, text);
      break;
    case WetLevelL:
    case WetLevelR:
    case DryLevelL:
    case DryLevelR:
      formatLevel(value, text);
      break;
    case WetPanL:
    case WetPanR:
      formatPan(value, text);
      break;
    default:
      text[0] = '\0';
      break;
  }
}

void DelayEffect::copyParameterName(int32_t index, char* text) {
  const char* name = parameterName(index);
  if (name != nullptr) std::strcpy(text, name);
}

void DelayEffect::changeSampleRate(float rate) {
  if (!std::isfinite(rate) || !(rate > 0.0f) || rate > highestSampleRate || !isComplete()) return;
  sampleRate = rate;
  spreadSampleRate(rate);
  selectProgram(currentProgram);
}

void DelayEffect::onSuspend() {
  if (!isComplete()) return;
  for (DelayChannel& channel : channels) channel.line->clear();
}

bool DelayEffect::copyEffectName(char* text) {
  std::strcpy(text, effectName);
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
  return isParameterIndex(index) ? engineValues[index] : 0.0f;
}

const DelayChannel* DelayEffect::channel(int32_t number) const {
  return number == 0 || number == 1 ? &channels[number] : nullptr;
}

const DelayLine* DelayEffect::delayLine(int32_t number) const {
  const DelayChannel* found = channel(number);
  return found != nullptr ? found->line : nullptr;
}

const LoopFilter* DelayEffect::loopFilter(int32_t number) const {
  const DelayChannel* found = channel(number);
  return found != nullptr ? found->filter : nullptr;
}

const ReverseEnvelope* DelayEffect::reverseEnvelope(int32_t number) const {
  const DelayChannel* found = channel(number);
  return found != nullptr ? found->envelope : nullptr;
}

const ProgramRecord* DelayEffect::program(int32_t index) const {
  if (programs == nullptr || index < 0 || index >= programCountTotal) return nullptr;
  return &programs[index];
}

}  // namespace wrenfold
