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
  readIndex.store(0, std::memory_order_relaxed);
  writeIndex.store(0, std::memory_order_relaxed);
  forgetWrites();
  length.store(n, std::memory_order_release);
}

void DelayLine::setReverse(int32_t flag) {
  // Writing restarts at 0, so a stretch written elsewhere can no longer be told apart from the
  // stretch still to come: the line keeps its contents by silencing the rest once.
  silenceUnwritten();
  reverse.store(flag != 0 ? 1 : 0, std::memory_order_relaxed);
  readIndex.store(0, std::memory_order_relaxed);
  writeIndex.store(0, std::memory_order_relaxed);
  // With nothing written, what is written next starts at the new write position.
  if (written.load(std::memory_order_relaxed) == 0) firstWrite.store(0, std::memory_order_relaxed);
}

void DelayLine::clear() { forgetWrites(); }

void DelayLine::setSampleRate(float rate) {
  if (!(rate > sampleRate && rate <= highestSampleRate)) return;
  const int32_t newCapacity = static_cast<int32_t>(4.0f * rate);
  float* newStorage = allocateUninitialisedArray<float>(AllocationSite::processing, newCapacity);
  // Without new storage the line keeps its old size; lengths are clamped to it.
  if (newStorage == nullptr) return;
  delete[] storage;
  storage = newStorage;
  capacity = newCapacity;
  sampleRate = rate;
  // The owner's setLength follows; until then nothing of the new storage has been written.
  forgetWrites();
}

void DelayLine::forgetWrites() {
  firstWrite.store(writeIndex.load(std::memory_order_relaxed), std::memory_order_relaxed);
  written.store(0, std::memory_order_relaxed);
}

void DelayLine::silenceUnwritten() {
  const int32_t n = length.load(std::memory_order_relaxed);
  const int32_t count = written.load(std::memory_order_relaxed);
  if (storage == nullptr || count == 0 || count >= n) return;
  // The unwritten stretch runs from the end of the written one round to its start.
  const int32_t start = firstWrite.load(std::memory_order_relaxed);
  for (int32_t k = count; k < n; ++k) storage[(start + k) % n] = 0.0f;
  written.store(n, std::memory_order_relaxed);
}

int32_t DelayLine::Cursor::stepsBeforeReadsChange(bool readingBackwards) const {
  if (written == length) return length;
  const int32_t distance = distanceFromFirstWrite();
  if (!readingBackwards) {
    // Both positions move on together: a written read stays written, and an unwritten one turns
    // written when the read position wraps round to the first write.
    return distance < written ? length : length - distance;
  }
  // Reading backwards towards the first write: written reads go on until it is passed; unwritten
  // ones until the written stretch, growing towards the read position, meets it.
  return distance < written ? distance + 1 : (distance - written) / 2 + 1;
}

}  // namespace wrenfold
