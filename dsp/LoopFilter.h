#pragma once

#include <cstdint>
#include <cstring>

namespace wrenfold {

// Returns whether a sample is a normal number: neither zero, denormal, infinite nor NaN.
inline bool isNormal(float sample) {
  uint32_t bits;
  std::memcpy(&bits, &sample, sizeof bits);
  // Doubling drops the sign; then one unsigned compare tests the exponent field for 1..254.
  return bits + bits - 0x01000000u < 0xFE000000u;
}

// Returns whether a sample is infinite or NaN.
inline bool overflowed(float sample) {
  uint32_t bits;
  std::memcpy(&bits, &sample, sizeof bits);
  return (bits & 0x7F800000u) == 0x7F800000u;
}

// Returns 0.0 for a sample that is zero, denormal, infinite or NaN, and the sample otherwise:
// keeps both denormals and non-finite values out of the recursive paths.
inline float flushToZero(float sample) { return isNormal(sample) ? sample : 0.0f; }

// The filter in each delay's write path: a second-order low-pass stage followed by a
// second-order high-pass stage (direct form I), either of which can switch itself off.
// Threads: filterSample runs in processing; the setters run in parameter, program and sample-rate
// calls.
class LoopFilter {
 public:
  // One direct-form-I biquad: coefficients and the last two inputs and outputs.
  struct Stage {
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;

    // Filters one sample; a zero or denormal result becomes 0.0, and an overflow (infinite or
    // NaN result) restarts the stage from silence instead of ringing on at the edge of the range.
    float run(float x) {
      float y = b2 * x2 + b0 * x + b1 * x1 - a1 * y1 - a2 * y2;
      if (!isNormal(y)) {
        if (overflowed(y)) {
          reset();
          return 0.0f;
        }
        y = 0.0f;
      }
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
      return y;
    }
    // Copies another stage's history.
    void keepHistoryOf(const Stage& other) {
      x1 = other.x1;
      x2 = other.x2;
      y1 = other.y1;
      y2 = other.y2;
    }
    // Makes the stage return its input unchanged.
    void passThrough() {
      b0 = 1.0f;
      b1 = b2 = a1 = a2 = 0.0f;
    }
    // Copies the history into history[0..3] as x1, x2, y1, y2.
    void copyHistory(float history[4]) const {
      history[0] = x1;
      history[1] = x2;
      history[2] = y1;
      history[3] = y2;
    }
    // Takes the history from history[0..3] as x1, x2, y1, y2.
    void takeHistory(const float history[4]) {
      x1 = history[0];
      x2 = history[1];
      y1 = history[2];
      y2 = history[3];
    }
    // Zeroes the history.
    void reset() { x1 = x2 = y1 = y2 = 0.0f; }
    // Returns whether the history is all zero.
    bool isQuiet() const { return x1 == 0.0f && x2 == 0.0f && y1 == 0.0f && y2 == 0.0f; }
    // Copies b0, b1, b2, a1, a2.
    void copyCoefficients(float out[5]) const {
      out[0] = b0;
      out[1] = b1;
      out[2] = b2;
      out[3] = a1;
      out[4] = a2;
    }
  };

  // Builds a filter at 44100 Hz with a 15000 Hz low-pass (Q 0.707) and a 200 Hz high-pass.
  LoopFilter();

  // Returns one filtered sample. [audio thread]
  float filterSample(float x) { return filterFlushed(flushToZero(x)); }

  // Returns one filtered sample of an input that flushToZero already let through. [audio thread]
  float filterFlushed(float x) { return highPass.run(lowPass.run(x)); }

  // Takes over the filter history of a copy that processed a block. [audio thread]
  void keepHistoryOf(const LoopFilter& copy) {
    lowPass.keepHistoryOf(copy.lowPass);
    highPass.keepHistoryOf(copy.highPass);
  }
  // Returns the low-pass stage: coefficients and history. [audio thread]
  const Stage& lowPassStage() const { return lowPass; }
  // Returns the high-pass stage: coefficients and history. [audio thread]
  const Stage& highPassStage() const { return highPass; }
  // Returns the low-pass stage for a block loop to take its history back into. [audio thread]
  Stage& lowPassStage() { return lowPass; }
  // Returns the high-pass stage for a block loop to take its history back into. [audio thread]
  Stage& highPassStage() { return highPass; }

  // Returns whether the low-pass stage runs at a cutoff: below 19999.99 Hz. [any thread]
  static bool lowPassRunsAt(float hz);
  // Returns whether the high-pass stage runs at a cutoff: above 20.01 Hz. [any thread]
  static bool highPassRunsAt(float hz);

  // Sets the low-pass cutoff in hertz and its Q; at 19999.99 Hz and above the stage is off.
  void setLowPass(float hz, float q);
  // Sets the high-pass cutoff in hertz; at 20.01 Hz and below the stage is off.
  void setHighPass(float hz);
  // Sets the sample rate and recomputes the coefficients; the histories stay.
  void setSampleRate(float rate);
  // Recomputes both coefficient sets from the cutoffs, the Q and the sample rate.
  void updateCoefficients();
  // Zeroes the low-pass history, as switching the stage off does.
  void clearLowPassHistory() { lowPass.reset(); }
  // Zeroes the high-pass history, as switching the stage off does.
  void clearHighPassHistory() { highPass.reset(); }

  // Returns the low-pass cutoff in hertz.
  float lowPassCutoff() const { return lpfFreq; }
  // Returns the high-pass cutoff in hertz.
  float highPassCutoff() const { return hpfFreq; }
  // Returns the low-pass Q.
  float lowPassQ() const { return lpfQ; }
  // Returns whether the low-pass stage runs.
  bool lowPassOn() const { return lpfOn; }
  // Returns whether the high-pass stage runs.
  bool highPassOn() const { return hpfOn; }
  // Returns the low-pass coefficients b0, b1, b2, a1, a2 it runs with (pass-through while off).
  void lowPassCoefficients(float out[5]) const { lowPass.copyCoefficients(out); }
  // Returns the high-pass coefficients b0, b1, b2, a1, a2 it runs with (pass-through while off).
  void highPassCoefficients(float out[5]) const { highPass.copyCoefficients(out); }
  // Returns whether both histories are all zero.
  bool historyIsClear() const { return lowPass.isQuiet() && highPass.isQuiet(); }

 private:
  // Returns a cutoff held below half the sample rate, where the stage would turn unstable.
  float usableCutoff(float frequency) const;

  float sampleRate = 44100.0f;
  float lpfFreq = 15000.0f;
  float hpfFreq = 200.0f;
  float lpfQ = 0.707f;
  Stage lowPass;
  Stage highPass;
  bool hpfOn = true;
  bool lpfOn = true;
};

}  // namespace wrenfold
