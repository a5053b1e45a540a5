#pragma once

#include <atomic>
#include <cstdint>

namespace wrenfold {

// A precomputed gain table as long as the delay, read in step with it, that fades each reversed
// fragment (one per half of the table) in with the attack ramp and out with the release ramp.
// Storage: sized for the highest rate seen; build writes only the active length, the only part read,
// and the starting table (length, rate and ramps as constructed) is one copy shared by the module.
// Threads: next and cursors run in processing; the other operations run in parameter, program and
// sample-rate calls. Position and length are atomics so that a length change racing a processing
// call can never move a read outside the storage.
class ReverseEnvelope {
  static_assert(std::atomic<int32_t>::is_always_lock_free, "processing must not lock");
  static_assert(std::atomic<const float*>::is_always_lock_free, "processing must not lock");

 public:
  // The length every envelope starts with, in entries.
  static constexpr int32_t startingLength = 44100;

  // Builds a table for 4 seconds at 44100 Hz with length 44100 and both ramps at 0.5.
  ReverseEnvelope();
  // Releases the storage.
  ~ReverseEnvelope();

  ReverseEnvelope(const ReverseEnvelope&) = delete;
  ReverseEnvelope& operator=(const ReverseEnvelope&) = delete;

  // Returns whether the storage could be allocated.
  bool hasStorage() const { return storage != nullptr; }

  // A view of the table for one processing block, like DelayLine::Cursor: the position stays
  // below the length taken at the start, which never exceeds the storage.
  class Cursor {
   public:
    // Returns the gain at the read position and steps it forwards, wrapping at the length.
    float next() {
      const float gain = table[index];
      index = index + 1 == length ? 0 : index + 1;
      return gain;
    }
    // Returns the gains from the read position on. [audio thread]
    const float* gains() const { return table + index; }
    // Returns how many steps the read position can take before it wraps. [audio thread]
    int32_t stepsBeforeWrap() const { return length - index; }
    // Steps the read position by at most stepsBeforeWrap, wrapping at the length. [audio thread]
    void advance(int32_t steps) {
      index += steps;
      if (index == length) index = 0;
    }

   private:
    friend class ReverseEnvelope;
    const float* table;
    int32_t length;
    int32_t index;
  };

  // Returns a cursor at the current position. [audio thread]
  Cursor openCursor() const {
    Cursor cursor;
    cursor.table = table.load(std::memory_order_acquire);
    cursor.length = length.load(std::memory_order_relaxed);
    // The module's starting table is shorter than the storage; a length set meanwhile must not
    // lead a read past it.
    if (cursor.table != storage && cursor.length > startingLength) cursor.length = startingLength;
    const int32_t index = readIndex.load(std::memory_order_relaxed);
    cursor.index =
        static_cast<uint32_t>(index) < static_cast<uint32_t>(cursor.length) ? index : 0;
    return cursor;
  }
  // Stores a cursor's position back. [audio thread]
  void closeCursor(const Cursor& cursor) {
    readIndex.store(cursor.index, std::memory_order_relaxed);
  }

  // Returns the gain at the read position and steps it forwards, wrapping at the length.
  // [audio thread]
  float next() {
    Cursor cursor = openCursor();
    const float gain = cursor.next();
    closeCursor(cursor);
    return gain;
  }

  // Puts the read position at the start.
  void rewind();
  // Sets the table length, at least 1 and at most the capacity, rewinds and rebuilds.
  void setLength(int32_t samples);
  // Sets the attack and release ramps from their normalised values and rebuilds.
  void setRamps(float attack, float release);
  // Sizes the table for 4 seconds at the rate, growing the storage when needed, and rebuilds.
  void setSampleRate(float rate);
  // Recomputes the table from the length, the ramps and the sample rate.
  void build();

  // Returns the active table length.
  int32_t activeLength() const { return length.load(std::memory_order_relaxed); }
  // Returns the largest length the table may have at the current rate.
  int32_t tableCapacity() const { return capacity; }
  // Returns the gain of a table entry, 0.0 outside the active length.
  float gainAt(int32_t index) const;
  // Returns the position of the next read.
  int32_t readPosition() const { return readIndex.load(std::memory_order_relaxed); }

 private:
  float sampleRate = 44100.0f;
  int32_t capacity = 0;
  std::atomic<int32_t> length{1};
  std::atomic<int32_t> readIndex{0};
  float* storage = nullptr;
  int32_t storageSize = 0;
  // The gains processing reads: the storage, or the module's copy of the starting table while the
  // length, rate and ramps are those it was built with.
  std::atomic<const float*> table{nullptr};
  float attackValue = 0.5f;
  float releaseValue = 0.5f;
};

}  // namespace wrenfold
