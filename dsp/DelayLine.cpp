#include "dsp/DelayLine.h"

#include <algorithm>

#include "base/Allocation.h"

namespace wrenfold {

namespace {

constexpr float initialSampleRate = 44100.0f;
constexpr int32_t initialCapacity = 176400;
constexpr int32_t minimumLength = 2;

}  // namespace

DelayLine::DelayLine() {
  storage = allocateUninitialisedArray<float>(AllocationSite::processing, initialCapacity);
  capacity = storage != nullptr ? initialCapacity : 0;
  sampleRate = initialSampleRate;
  if (storage != nullptr) setLength(minimumLength);
}

DelayLine::~DelayLine() { delete[] storage; }

void DelayLine::setLength(int32_t samples) {
  if (storage == nullptr) return;
  const int32_t n = std::clamp(samples, minimumLength, capacity);
  silence(n);
  readIndex.store(0, std::memory_order_relaxed);
  writeIndex.store(0, std::memory_order_relaxed);
  length.store(n, std::memory_order_release);
}

void DelayLine::setReverse(int32_t flag) {
  reverse.store(flag != 0 ? 1 : 0, std::memory_order_relaxed);
  readIndex.store(0, std::memory_order_relaxed);
  writeIndex.store(0, std::memory_order_relaxed);
}

void DelayLine::clear() { silence(length.load(std::memory_order_relaxed)); }

void DelayLine::setSampleRate(float rate) {
  if (!(rate > sampleRate && rate <= highestSampleRate)) return;
  const int32_t newCapacity = static_cast<int32_t>(4.0f * rate);
  float* newStorage = allocateUninitialisedArray<float>(AllocationSite::processing, newCapacity);
  // Without new storage the line keeps its old size; lengths are clamped to it.
  if (newStorage == nullptr) return;
  // The owner's setLength follows, but until then the active length must read as silence.
  std::fill(newStorage, newStorage + length.load(std::memory_order_relaxed), 0.0f);
  delete[] storage;
  storage = newStorage;
  capacity = newCapacity;
  sampleRate = rate;
}

void DelayLine::silence(int32_t count) {
  if (storage != nullptr) std::fill(storage, storage + count, 0.0f);
}

}  // namespace wrenfold
