#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace wrenfold {

// The highest sample rate the delay units size their storage for, in hertz.
constexpr float highestSampleRate = 1000000.0f;

// A circular sample buffer whose active length is the delay time; written forwards and read
// forwards (plain echoes) or backwards (reversed fragments).
// Storage: sized for the highest rate seen but touched only by the writes that fill it. The line
// remembers the stretch written since its last restart or clear and reads silence everywhere else,
// so restarting and clearing cost the same at any length, and the pages of a longer delay are
// brought in one at a time by the writes, never all at once.
// Threads: read, write and cursors run in processing; the other operations run in parameter,
// program, sample-rate and mains calls. Positions, length and the written stretch are lock-free
// atomics so that a length change racing a processing call can never move an access outside the
// storage.
class DelayLine {
  static_assert(std::atomic<int32_t>::is_always_lock_free, "processing must not lock");

 public:
  // Builds a line sized for 4 seconds at 44100 Hz, length 2, reading forwards.
  DelayLine();
  // Releases the storage.
  ~DelayLine();

  DelayLine(const DelayLine&) = delete;
  DelayLine& operator=(const DelayLine&) = delete;

  // Returns whether the storage could be allocated.
  bool hasStorage() const { return storage != nullptr; }

  // A view of the line for one processing block: positions and length live in registers and go
  // back to the line when the block ends. Indices stay below the length taken at the start, which
  // never exceeds the storage, so a length change made meanwhile cannot move an access outside it.
  class Cursor {
   public:
    // Returns the sample at the read position and steps it in the line's direction.
    float read() { return backwards ? readBackwards() : readForwards(); }
    // Returns the sample at the read position and steps it forwards.
    float readForwards() {
      const float sample = readsWritten() ? storage[readIndex] : 0.0f;
      readIndex = readIndex + 1 == length ? 0 : readIndex + 1;
      return sample;
    }
    // Returns the sample at the read position and steps it backwards.
    float readBackwards() {
      const float sample = readsWritten() ? storage[readIndex] : 0.0f;
      readIndex = readIndex == 0 ? length - 1 : readIndex - 1;
      return sample;
    }
    // Stores a sample at the write position and steps it forwards.
    void write(float sample) {
      storage[writeIndex] = sample;
      writeIndex = writeIndex + 1 == length ? 0 : writeIndex + 1;
      if (written < length) ++written;
    }
    // Returns whether the read position holds a sample written since the last restart or clear;
    // elsewhere the line reads silence.
    bool readsWritten() const { return written == length || distanceFromFirstWrite() < written; }
    // Returns the storage at the read position; meaningful where readsWritten holds.
    const float* readPointer() const { return storage + readIndex; }
    // Returns the storage at the write position.
    float* writePointer() const { return storage + writeIndex; }
    // Returns how many steps reading in a direction and writing can both take before a wrap.
    int32_t stepsBeforeWrap(bool readingBackwards) const {
      const int32_t reads = readingBackwards ? readIndex + 1 : length - readIndex;
      const int32_t writes = length - writeIndex;
      return reads < writes ? reads : writes;
    }
    // Returns how many steps the reads keep answering readsWritten as they do now.
    int32_t stepsBeforeReadsChange(bool readingBackwards) const;
    // Steps both positions by at most stepsBeforeWrap, reading in the direction given.
    void advance(int32_t steps, bool readingBackwards) {
      readIndex += readingBackwards ? -steps : steps;
      if (readIndex == length) readIndex = 0;
      if (readIndex < 0) readIndex = length - 1;
      writeIndex += steps;
      if (writeIndex == length) writeIndex = 0;
      written = written > length - steps ? length : written + steps;
    }

   private:
    friend class DelayLine;
    // Returns how far the read position lies after the first write since the restart or clear.
    int32_t distanceFromFirstWrite() const {
      const int32_t distance = readIndex - firstWrite;
      return distance < 0 ? distance + length : distance;
    }

    float* storage;
    int32_t length;
    int32_t readIndex;
    int32_t writeIndex;
    // The written stretch: `written` samples from `firstWrite` on, all of it once written ==
    // length.
    int32_t firstWrite;
    int32_t written;
    bool backwards;
  };

  // Returns a cursor at the current positions. [audio thread]
  Cursor openCursor() const {
    Cursor cursor;
    cursor.storage = storage;
    // Acquire: the positions and the written stretch that setLength reset are seen with the
    // length that goes with them.
    cursor.length = length.load(std::memory_order_acquire);
    cursor.readIndex = withinLength(readIndex.load(std::memory_order_relaxed), cursor.length);
    cursor.writeIndex = withinLength(writeIndex.load(std::memory_order_relaxed), cursor.length);
    cursor.firstWrite = withinLength(firstWrite.load(std::memory_order_relaxed), cursor.length);
    cursor.written = std::clamp(written.load(std::memory_order_relaxed), 0, cursor.length);
    cursor.backwards = reverse.load(std::memory_order_relaxed) != 0;
    return cursor;
  }
  // Stores a cursor's positions back into the line. [audio thread]
  void closeCursor(const Cursor& cursor) {
    readIndex.store(cursor.readIndex, std::memory_order_relaxed);
    writeIndex.store(cursor.writeIndex, std::memory_order_relaxed);
    written.store(cursor.written, std::memory_order_relaxed);
  }

  // Returns the sample at the read position and steps it in the current direction. [audio thread]
  float read() {
    Cursor cursor = openCursor();
    const float sample = cursor.read();
    closeCursor(cursor);
    return sample;
  }

  // Stores a sample at the write position and steps it forwards. [audio thread]
  void write(float sample) {
    Cursor cursor = openCursor();
    cursor.write(sample);
    closeCursor(cursor);
  }

  // Sets the active length, clamped to 2..capacity, silences it and rewinds both positions.
  // Constant time: the storage is not touched.
  void setLength(int32_t samples);
  // Chooses the reading direction (non-zero reads backwards) and rewinds both positions; the
  // contents stay. Constant time on a line restarted since it was last filled.
  void setReverse(int32_t flag);
  // Silences the active length; positions and direction stay. Constant time.
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
  // Zeroes the active stretch not written since the last restart or clear, so that all of it
  // may be read as it stands.
  void silenceUnwritten();
  // Forgets what was written: from the write position on, the line reads silence until written.
  void forgetWrites();
  // Returns index, or 0 when it is not below length.
  static int32_t withinLength(int32_t index, int32_t length) {
    return static_cast<uint32_t>(index) < static_cast<uint32_t>(length) ? index : 0;
  }

  std::atomic<int32_t> reverse{0};
  float* storage = nullptr;
  std::atomic<int32_t> readIndex{0};
  std::atomic<int32_t> writeIndex{0};
  std::atomic<int32_t> length{2};
  std::atomic<int32_t> firstWrite{0};
  std::atomic<int32_t> written{0};
  int32_t capacity = 0;
  float sampleRate = 44100.0f;
};

}  // namespace wrenfold
