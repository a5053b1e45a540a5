#include "dsp/ReverseEnvelope.h"

#include <algorithm>

#include "base/Truncation.h"
#include "dsp/DelayLine.h"

namespace wrenfold {

namespace {

constexpr int32_t initialCapacity = 176400;
constexpr int32_t initialLength = 44100;
constexpr float initialSampleRate = 44100.0f;
constexpr float initialRamp = 0.5f;

// Returns the length of a ramp of 0.1 * value^2 seconds in samples.
int32_t rampSamples(float value, float rate) { return truncateToInt(value * value * 0.1f * rate); }

// Returns the factor of a ramp at `step` of `steps`: step / steps.
inline float rampFactor(int32_t step, int32_t steps) {
  return static_cast<float>(step) / static_cast<float>(steps);
}

}  // namespace

// A table is all 1.0, times the attack's i / attack over the first attackCount entries of each
// half, times the release's i / release over the last releaseCount entries of each half counted
// back from its end. The attack covers at most the larger half, the release the smaller. Where
// both cover an entry their factors multiply; an entry no ramp covers is exactly 1.0.
float ReverseEnvelope::Shape::gainAt(int32_t index) const {
  const int32_t rising = fromHalfStart(index);
  const int32_t falling = toHalfEnd(index);
  const float attackGain = rising < attackCount ? rampFactor(rising, attack) : 1.0f;
  const float releaseGain = falling < releaseCount ? rampFactor(falling, release) : 1.0f;
  return attackGain * releaseGain;
}

int32_t ReverseEnvelope::Shape::nextBoundary(int32_t index) const {
  const int32_t start = index < half ? 0 : half;
  const int32_t end = index < half ? half : length;
  const int32_t boundaries[] = {start + attackCount, end - releaseCount, end};
  int32_t next = end;
  for (int32_t boundary : boundaries)
    if (boundary > index && boundary < next) next = boundary;
  return next;
}

ReverseEnvelope::ReverseEnvelope() {
  capacity = initialCapacity;
  sampleRate = initialSampleRate;
  attackValue = initialRamp;
  releaseValue = initialRamp;
  updateRampLengths();
  setLength(initialLength);
}

ReverseEnvelope::Cursor ReverseEnvelope::openCursor() const {
  Cursor cursor;
  Shape& shape = cursor.shape;
  shape.length = std::max(length.load(std::memory_order_relaxed), 1);
  shape.half = shape.length / 2;
  shape.attack = attackSamples.load(std::memory_order_relaxed);
  shape.release = releaseSamples.load(std::memory_order_relaxed);
  // The attack of each half is cut at the larger half, the release at the smaller one.
  shape.attackCount = std::min(shape.attack, shape.length - shape.half);
  shape.releaseCount = std::min(shape.release, shape.half);
  const int32_t index = readIndex.load(std::memory_order_relaxed);
  cursor.index = static_cast<uint32_t>(index) < static_cast<uint32_t>(shape.length) ? index : 0;
  return cursor;
}

void ReverseEnvelope::rewind() { readIndex.store(0, std::memory_order_relaxed); }

void ReverseEnvelope::setLength(int32_t samples) {
  length.store(std::clamp(samples, 1, capacity), std::memory_order_relaxed);
  rewind();
}

void ReverseEnvelope::setRamps(float attack, float release) {
  attackValue = attack;
  releaseValue = release;
  updateRampLengths();
}

void ReverseEnvelope::setSampleRate(float rate) {
  if (!(rate > 0.0f && rate <= highestSampleRate)) return;
  sampleRate = rate;
  capacity = std::max(static_cast<int32_t>(4.0f * rate), 1);
  updateRampLengths();
}

void ReverseEnvelope::updateRampLengths() {
  attackSamples.store(rampSamples(attackValue, sampleRate), std::memory_order_relaxed);
  releaseSamples.store(rampSamples(releaseValue, sampleRate), std::memory_order_relaxed);
}

float ReverseEnvelope::gainAt(int32_t index) const {
  if (index < 0 || index >= length.load(std::memory_order_relaxed)) return 0.0f;
  return openCursor().tableShape().gainAt(index);
}

}  // namespace wrenfold
