#include "delay/ReverseEnvelope.h"

#include <algorithm>

#include "delay/DelayLine.h"
#include "delay/ParameterMapping.h"
#include "base/Allocation.h"

namespace wrenfold {

namespace {

constexpr int32_t initialCapacity = 176400;
constexpr int32_t initialLength = 44100;

// Returns the length of a ramp of 0.1 * value^2 seconds in samples.
int32_t rampSamples(float value, float rate) { return truncateToInt(value * value * 0.1f * rate); }

}  // namespace

ReverseEnvelope::ReverseEnvelope() {
  storage = allocateUninitialisedArray<float>(AllocationSite::processing, initialCapacity);
  if (storage == nullptr) return;
  storageSize = initialCapacity;
  capacity = initialCapacity;
  setLength(initialLength);
  attackValue = 0.5f;
  releaseValue = 0.5f;
  build();
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
  std::fill(storage, storage + n, 1.0f);
  const int32_t firstHalf = n / 2;
  const int32_t secondHalf = n - firstHalf;

  const int32_t attack = rampSamples(attackValue, sampleRate);
  if (attack != 0) {
    const int32_t count = std::min(attack, secondHalf);
    applyRamp(firstHalf, count, attack, 1);
    applyRamp(0, count, attack, 1);
  }

  const int32_t release = rampSamples(releaseValue, sampleRate);
  if (release != 0) {
    const int32_t count = std::min(release, firstHalf);
    applyRamp(firstHalf - 1, count, release, -1);
    applyRamp(n - 1, count, release, -1);
  }
}

float ReverseEnvelope::gainAt(int32_t index) const {
  if (storage == nullptr || index < 0 || index >= length.load(std::memory_order_relaxed))
    return 0.0f;
  return storage[index];
}

void ReverseEnvelope::applyRamp(int32_t first, int32_t count, int32_t steps, int32_t direction) {
  const float divisor = static_cast<float>(steps);
  for (int32_t i = 0; i < count; ++i)
    storage[first + direction * i] *= static_cast<float>(i) / divisor;
}

}  // namespace wrenfold
