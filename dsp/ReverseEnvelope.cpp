#include "dsp/ReverseEnvelope.h"

#include <algorithm>

#include "dsp/DelayLine.h"
#include "base/Truncation.h"
#include "base/Allocation.h"

namespace wrenfold {

namespace {

constexpr int32_t initialCapacity = 176400;

constexpr float initialSampleRate = 44100.0f;
constexpr float initialRamp = 0.5f;

// Returns the length of a ramp of 0.1 * value^2 seconds in samples.
int32_t rampSamples(float value, float rate) { return truncateToInt(value * value * 0.1f * rate); }

// Multiplies count entries from first on by a rising ramp i / steps, i = 0, 1, ...
void applyRamp(float* table, int32_t first, int32_t count, int32_t steps, int32_t direction) {
  const float divisor = static_cast<float>(steps);
  for (int32_t i = 0; i < count; ++i)
    table[first + direction * i] *= static_cast<float>(i) / divisor;
}

// Writes the n gains of a table with the given ramps.
void fillTable(float* table, int32_t n, float rate, float attackValue, float releaseValue) {
  std::fill(table, table + n, 1.0f);
  const int32_t firstHalf = n / 2;
  const int32_t secondHalf = n - firstHalf;

  const int32_t attack = rampSamples(attackValue, rate);
  if (attack != 0) {
    const int32_t count = std::min(attack, secondHalf);
    applyRamp(table, firstHalf, count, attack, 1);
    applyRamp(table, 0, count, attack, 1);
  }

  const int32_t release = rampSamples(releaseValue, rate);
  if (release != 0) {
    const int32_t count = std::min(release, firstHalf);
    applyRamp(table, firstHalf - 1, count, release, -1);
    applyRamp(table, n - 1, count, release, -1);
  }
}

// Returns the table of the starting length, rate and ramps, made once for the module. Every
// envelope starts with it and its owner builds it once more when it first sets the rate, before
// setting a length of its own: were each envelope to write it into its own storage, a second of
// gains would stay resident that a shorter delay never reads.
const float* startingTable() {
  static float table[ReverseEnvelope::startingLength];
  static const bool filled = [] {
    fillTable(table, ReverseEnvelope::startingLength, initialSampleRate, initialRamp, initialRamp);
    return true;
  }();
  static_cast<void>(filled);
  return table;
}

}  // namespace

ReverseEnvelope::ReverseEnvelope() {
  storage = allocateUninitialisedArray<float>(AllocationSite::processing, initialCapacity);
  if (storage == nullptr) return;
  storageSize = initialCapacity;
  capacity = initialCapacity;
  sampleRate = initialSampleRate;
  attackValue = initialRamp;
  releaseValue = initialRamp;
  setLength(startingLength);
}

ReverseEnvelope::~ReverseEnvelope() { delete[] storage; }

void ReverseEnvelope::rewind() { readIndex.store(0, std::memory_order_relaxed); }

void ReverseEnvelope::setLength(int32_t samples) {
  if (storage == nullptr) return;
  length.store(std::clamp(samples, 1, capacity), std::memory_order_relaxed);
  rewind();
  build();
}

void ReverseEnvelope::setRamps(float attack, float release) {
  attackValue = attack;
  releaseValue = release;
  build();
}

void ReverseEnvelope::setSampleRate(float rate) {
  if (storage == nullptr || !(rate > 0.0f && rate <= highestSampleRate)) return;
  const int32_t wanted = static_cast<int32_t>(4.0f * rate);
  if (wanted > storageSize) {
    float* larger = allocateUninitialisedArray<float>(AllocationSite::processing, wanted);
    if (larger != nullptr) {
      // The active length stays valid for the new storage, which is larger than the old one.
      delete[] storage;
      storage = larger;
      storageSize = wanted;
    }
  }
  sampleRate = rate;
  capacity = std::clamp(wanted, 1, storageSize);
  build();
}

void ReverseEnvelope::build() {
  if (storage == nullptr) return;
  const int32_t n = length.load(std::memory_order_relaxed);
  if (n == startingLength && sampleRate == initialSampleRate && attackValue == initialRamp &&
      releaseValue == initialRamp) {
    table.store(startingTable(), std::memory_order_release);
    return;
  }
  fillTable(storage, n, sampleRate, attackValue, releaseValue);
  table.store(storage, std::memory_order_release);
}

float ReverseEnvelope::gainAt(int32_t index) const {
  const float* gains = table.load(std::memory_order_acquire);
  if (gains == nullptr || index < 0 || index >= length.load(std::memory_order_relaxed))
    return 0.0f;
  return gains[index];
}

}  // namespace wrenfold
