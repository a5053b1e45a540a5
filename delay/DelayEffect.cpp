#include "delay/DelayEffect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

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

// Returns 0.0 for an infinite or NaN sample, the sample otherwise.
inline float finiteOrZero(float sample) { return overflowed(sample) ? 0.0f : sample; }

// Returns 1.0 for a switch value of at least 0.5, else 0.0 (NaN included).
inline float switchState(float value) { return value >= 0.5f ? 1.0f : 0.0f; }

// Returns a written value held within 0..1, NaN as 0.0 like the switches, so that a host's stray
// value never reaches the stored program or a mapping that assumes the range.
inline float withinRange(float value) { return value >= 0.0f ? std::min(value, 1.0f) : 0.0f; }

}  // namespace

DelayEffect::DelayEffect(audioMasterCallback hostCallback)
    : ExtendedEffectBase(hostCallback, programCountTotal, parameterCountTotal) {
  delayLeft = allocateObject<DelayLine>(AllocationSite::processing);
  delayRight = allocateObject<DelayLine>(AllocationSite::processing);
  filterLeft = allocateObject<LoopFilter>(AllocationSite::processing);
  filterRight = allocateObject<LoopFilter>(AllocationSite::processing);
  envelopeLeft = allocateObject<ReverseEnvelope>(AllocationSite::processing);
  envelopeRight = allocateObject<ReverseEnvelope>(AllocationSite::processing);
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
  delete delayLeft;
  delete delayRight;
  delete filterLeft;
  delete filterRight;
  delete envelopeLeft;
  delete envelopeRight;
}

bool DelayEffect::isComplete() const { return complete; }

bool DelayEffect::allocationsSucceeded() const {
  return delayLeft != nullptr && delayRight != nullptr && filterLeft != nullptr &&
         filterRight != nullptr && envelopeLeft != nullptr && envelopeRight != nullptr &&
         programs != nullptr && delayLeft->hasStorage() && delayRight->hasStorage() &&
         envelopeLeft->hasStorage() && envelopeRight->hasStorage();
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
        delayLeft->clear();
        delayRight->clear();
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
      filterLeft->setControl(index, value);
      filterRight->setControl(index, value);
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
      break;
    case WetPanL:
      stored = engine = value;
      panGains[0] = 1.0f - value;
      panGains[1] = value;
      break;
    case WetPanR:
      stored = engine = value;
      panGains[2] = 1.0f - value;
      panGains[3] = value;
      break;
    case RevAttack:
    case RevRelease:
      stored = engine = value;
      envelopeLeft->setControl(index - RevAttack, value);
      envelopeRight->setControl(index - RevAttack, value);
      break;
    default:
      stored = engine = value;
      break;
  }
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
  const float* inLeft = inputs[0];
  const float* inRight = inputs[1];
  float* outLeft = outputs[0];
  float* outRight = outputs[1];

  // Parameters cannot change during a block, so the per-sample reads are taken once here.
  const float feedbackLeft = engineValues[FeedBackL];
  const float feedbackRight = engineValues[FeedBackR];
  // The lines read backwards exactly in reverse mode: updateDelayTimes sets their direction
  // from the same switch, on every change of it.
  const bool reversed = engineValues[NomorRev] > 0.5f;
  const bool bypassed = engineValues[Bypass] >= 0.5f;
  const float wetLeftToLeft = panGains[0] * engineValues[WetLevelL];
  const float wetLeftToRight = panGains[1] * engineValues[WetLevelL];
  const float wetRightToLeft = panGains[2] * engineValues[WetLevelR];
  const float wetRightToRight = panGains[3] * engineValues[WetLevelR];
  const float dryLeft = engineValues[DryLevelL];
  const float dryRight = engineValues[DryLevelR];
  // Cursors and filter copies keep positions and filter history in registers for the block.
  DelayLine::Cursor lineLeft = delayLeft->openCursor();
  DelayLine::Cursor lineRight = delayRight->openCursor();
  ReverseEnvelope::Cursor shapeLeft = envelopeLeft->openCursor();
  ReverseEnvelope::Cursor shapeRight = envelopeRight->openCursor();
  LoopFilter loopLeft = *filterLeft;
  LoopFilter loopRight = *filterRight;

  // The modes are compile-time constants inside the loop, so each combination runs branch-free.
  auto runFrames = [&](auto reversedMode, auto bypassedMode, auto replacingMode) {
    constexpr bool isReversed = decltype(reversedMode)::value;
    constexpr bool isBypassed = decltype(bypassedMode)::value;
    constexpr bool isReplacing = decltype(replacingMode)::value;
    for (int32_t i = 0; i < sampleFrames; ++i) {
      const float inL = inLeft[i];
      const float inR = inRight[i];

      // 1. Read both delays (forwards or backwards).
      float dL = isReversed ? lineLeft.readBackwards() : lineLeft.readForwards();
      float dR = isReversed ? lineRight.readBackwards() : lineRight.readForwards();

      // 2. Filter input plus feedback, the sum flushed when its exponent is zero; a non-finite
      //    input enters the loop as silence. 3. The filter's result is already flushed likewise.
      float sumL = dL * feedbackLeft + inL;
      if (!isNormal(sumL)) sumL = flushToZero(dL * feedbackLeft + finiteOrZero(inL));
      float sumR = dR * feedbackRight + inR;
      if (!isNormal(sumR)) sumR = flushToZero(dR * feedbackRight + finiteOrZero(inR));
      const float yL = loopLeft.filterFlushed(sumL);
      const float yR = loopRight.filterFlushed(sumR);

      // 4. Write the filtered signal into the delays.
      lineLeft.write(yL);
      lineRight.write(yR);

      // 5. In reverse mode the envelope shapes what is heard, not what is fed back.
      if (isReversed) {
        dL *= shapeLeft.next();
        dR *= shapeRight.next();
      }

      // 6. Mix: panned wet signals plus dry, or the plain input when bypassed.
      float left = inL;
      float right = inR;
      if (!isBypassed) {
        left = wetRightToLeft * dR + wetLeftToLeft * dL + dryLeft * inL;
        right = wetRightToRight * dR + wetLeftToRight * dL + dryRight * inR;
      }

      // 7. Overwrite or accumulate.
      if (isReplacing) {
        outLeft[i] = left;
        outRight[i] = right;
      } else {
        outLeft[i] += left;
        outRight[i] += right;
      }
    }
  };
  using On = std::true_type;
  using Off = std::false_type;
  switch ((reversed ? 4 : 0) + (bypassed ? 2 : 0) + (replacing ? 1 : 0)) {
    case 0: runFrames(Off{}, Off{}, Off{}); break;
    case 1: runFrames(Off{}, Off{}, On{}); break;
    case 2: runFrames(Off{}, On{}, Off{}); break;
    case 3: runFrames(Off{}, On{}, On{}); break;
    case 4: runFrames(On{}, Off{}, Off{}); break;
    case 5: runFrames(On{}, Off{}, On{}); break;
    case 6: runFrames(On{}, On{}, Off{}); break;
    default: runFrames(On{}, On{}, On{}); break;
  }

  delayLeft->closeCursor(lineLeft);
  delayRight->closeCursor(lineRight);
  envelopeLeft->closeCursor(shapeLeft);
  envelopeRight->closeCursor(shapeRight);
  filterLeft->keepHistoryOf(loopLeft);
  filterRight->keepHistoryOf(loopRight);
}

void DelayEffect::updateDelayTimes() {
  delayLeft->setLength(delaySamples(NoteLenL, TempoL));
  envelopeLeft->setLength(delayLeft->activeLength());
  delayRight->setLength(delaySamples(NoteLenR, TempoR));
  envelopeRight->setLength(delayRight->activeLength());
  const int32_t direction = engineValues[NomorRev] >= 0.5f ? 1 : 0;
  delayLeft->setReverse(direction);
  delayRight->setReverse(direction);
  envelopeLeft->rewind();
  envelopeRight->rewind();
}

int32_t DelayEffect::delaySamples(int32_t noteIndex, int32_t tempoIndex) const {
  const float samples =
      (engineValues[noteIndex] / engineValues[tempoIndex]) * sampleRate * 240.0f;
  return truncateToInt(samples);
}

void DelayEffect::spreadSampleRate(float rate) {
  filterLeft->setSampleRate(rate);
  filterRight->setSampleRate(rate);
  delayLeft->setSampleRate(rate);
  delayRight->setSampleRate(rate);
  envelopeLeft->setSampleRate(rate);
  envelopeRight->setSampleRate(rate);
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
  delayLeft->clear();
  delayRight->clear();
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

const DelayLine* DelayEffect::delayLine(int32_t channel) const {
  return channel == 0 ? delayLeft : channel == 1 ? delayRight : nullptr;
}

const LoopFilter* DelayEffect::loopFilter(int32_t channel) const {
  return channel == 0 ? filterLeft : channel == 1 ? filterRight : nullptr;
}

const ReverseEnvelope* DelayEffect::reverseEnvelope(int32_t channel) const {
  return channel == 0 ? envelopeLeft : channel == 1 ? envelopeRight : nullptr;
}

const ProgramRecord* DelayEffect::program(int32_t index) const {
  if (programs == nullptr || index < 0 || index >= programCountTotal) return nullptr;
  return &programs[index];
}

}  // namespace wrenfold
