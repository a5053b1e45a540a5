#pragma once

#include <atomic>
#include <cstdint>

namespace wrenfold {

// The highest sample rate the delay units size their storage for, in hertz.
constexpr float highestSampleRate = 1000000.0f;

// A circular sample buffer whose active length is the delay time; written forwards and read
// forwards (plain echoes) or backwards (reversed fragments).
// Threads: read and write run in processing; the other operations run in parameter, program,
// sample-rate and mains calls. Positions and length are atomics so that a length change racing a
// processing call can never move an access outside the storage.
class DelayLine {
 public:
  // Builds a line sized for 4 seconds at 44100 Hz, length 2, reading forwards.
  DelayLine();
  // Releases the storage.
  ~DelayLine();

  DelayLine(const DelayLine&) = delete;
  DelayLine& operator=(const DelayLine&) = delete;

  // Returns whether the storage could be allocated.
  bool hasStorage() const { return storage != nullptr; }

  // Returns the sample at the read position and steps it in the current direction. [audio thread]
  float read() {
    const int32_t n = length.load(std::memory_order_relaxed);
    int32_t index = readIndex.load(std::memory_order_relaxed);
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(n)) index = 0;
    const float sample = storage[index];
    if (reverse.load(std::memory_order_relaxed) != 0)
      readIndex.store(index == 0 ? n - 1 : index - 1, std::memory_order_relaxed);
    else
      readIndex.store(index + 1 == n ? 0 : index + 1, std::memory_order_relaxed);
    return sample;
  }

  // Stores a sample at the write position and steps it forwards. [audio thread]
  void write(float sample) {
    const int32_t n = length.load(std::memory_order_relaxed);
    int32_t index = writeIndex.load(std::memory_order_relaxed);
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(n)) index = 0;
    storage[index] = sample;
    writeIndex.store(index + 1 == n ? 0 : index + 1, std::memory_order_relaxed);
  }

  // Sets the active length, clamped to 2..capacity, silences it and rewinds both positions.
  void setLength(int32_t samples);
  // Chooses the reading direction (non-zero reads backwards) and rewinds both positions.
  void setReverse(int32_t flag);
  // Silences the active length; positions and direction stay.
  void clear();
  // Grows the storage to 4 seconds at a rate above any seen before; keeps it otherwise.
  void setSampleRate(float rate);

  // Returns the active length in samples.
  int32_t activeLength() const { return length.load(std::memory_order_relaxed); }
  // Returns the size of the storage in samples.
  int32_t storageCapacity() const { return capacity; }
  // Returns whether the line reads backwards.
  bool readsBackwards() const { return reverse.load(std::memory_order_relaxed) != 0; }
  // Returns the position of the next read.
  int32_t readPosition() const { return readIndex.load(std::memory_order_relaxed); }
  // Returns the position of the next write.
  int32_t writePosition() const { return writeIndex.load(std::memory_order_relaxed); }

 private:
  // Zeroes the first count samples of the storage.
  void silence(int32_t count);

  std::atomic<int32_t> reverse{0};
  float* storage = nullptr;
  std::atomic<int32_t> readIndex{0};
  std::atomic<int32_t> writeIndex{0};
  std::atomic<int32_t> length{2};
  int32_t capacity = 0;
  float sampleRate = 44100.0f;
};

}  // namespace wrenfold
