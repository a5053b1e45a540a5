#pragma once

#include <atomic>
#include <cstdint>

namespace wrenfold {

// The gains that fade each reversed fragment, one per half of a table as long as the delay and
// read in step with it: each half rises from 0 with the attack ramp and falls to 0 with the release
// ramp. A gain is worked out from its position where it is read, bit for bit the entry a built
// table would hold there, so a new length, rate or ramp costs the same at any delay and the
// envelope holds no storage.
// Threads: next and cursors run in processing; the other operations run in parameter, program and
// sample-rate calls. Position, length and ramps are atomics, read whole by a processing call.
class ReverseEnvelope {
  static_assert(std::atomic<int32_t>::is_always_lock_free, "processing must not lock");

 public:
  // Builds a table for 4 seconds at 44100 Hz with length 44100 and both ramps at 0.5.
  ReverseEnvelope();

  ReverseEnvelope(const ReverseEnvelope&) = delete;
  ReverseEnvelope& operator=(const ReverseEnvelope&) = delete;

  // The shape of a table: its length and the stretches its ramps cover.
  struct Shape {
    int32_t length;
    int32_t half;          // entries in the first half; the second holds the rest
    int32_t attack;        // attack ramp in samples, 0 for none
    int32_t release;       // release ramp in samples, 0 for none
    int32_t attackCount;   // entries of each half the attack covers
    int32_t releaseCount;  // entries of each half the release covers

    // Returns the gain of entry index, 0 <= index < length.
    float gainAt(int32_t index) const;
    // Returns the entry where the attack and release coverage next changes after index, or the
    // length.
    int32_t nextBoundary(int32_t index) const;
    // Returns whether a ramp covers entry index; elsewhere the gain is exactly 1.0.
    bool ramps(int32_t index) const {
      return fromHalfStart(index) < attackCount || toHalfEnd(index) < releaseCount;
    }
    // Returns the position of an entry in its half, counted from the half's start.
    int32_t fromHalfStart(int32_t index) const { return index < half ? index : index - half; }
    // Returns the position of an entry in its half, counted back from the half's end.
    int32_t toHalfEnd(int32_t index) const {
      return index < half ? half - 1 - index : length - 1 - index;
    }
  };

  // A view of the envelope for one processing block: shape and position stay in registers and
  // the position goes back to the envelope when the block ends.
  class Cursor {
   public:
    // Returns the gain at the read position and steps it forwards, wrapping at the length.
    float next() {
      const float gain = shape.gainAt(index);
      index = index + 1 == shape.length ? 0 : index + 1;
      return gain;
    }
    // Returns the table's shape. [audio thread]
    const Shape& tableShape() const { return shape; }
    // Returns the read position. [audio thread]
    int32_t position() const { return index; }
    // Returns how many steps the read position can take before it wraps. [audio thread]
    int32_t stepsBeforeWrap() const { return shape.length - index; }
    // Steps the read position by at most stepsBeforeWrap, wrapping at the length. [audio thread]
    void advance(int32_t steps) {
      index += steps;
      if (index == shape.length) index = 0;
    }

   private:
    friend class ReverseEnvelope;
    Shape shape;
    int32_t index;
  };

  // Returns a cursor at the current position. [audio thread]
  Cursor openCursor() const;
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
  // Sets the table length, at least 1 and at most the capacity, and rewinds.
  void setLength(int32_t samples);
  // Sets the attack and release ramps from their normalised values.
  void setRamps(float attack, float release);
  // Sizes the table for 4 seconds at the rate and works out the ramps at that rate.
  void setSampleRate(float rate);

  // Returns the active table length.
  int32_t activeLength() const { return length.load(std::memory_order_relaxed); }
  // Returns the largest length the table may have at the current rate.
  int32_t tableCapacity() const { return capacity; }
  // Returns the gain of a table entry, 0.0 outside the active length.
  float gainAt(int32_t index) const;
  // Returns the position of the next read.
  int32_t readPosition() const { return readIndex.load(std::memory_order_relaxed); }

 private:
  // Works out the ramp lengths in samples from their values and the rate.
  void updateRampLengths();

  float sampleRate = 44100.0f;
  int32_t capacity = 0;
  std::atomic<int32_t> length{1};
  std::atomic<int32_t> readIndex{0};
  std::atomic<int32_t> attackSamples{0};
  std::atomic<int32_t> releaseSamples{0};
  float attackValue = 0.5f;
  float releaseValue = 0.5f;
};

}  // namespace wrenfold
