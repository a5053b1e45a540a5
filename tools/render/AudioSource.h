#pragma once

#include <cstdint>
#include <string>

namespace wrenfold {

// Interleaved audio that the renderer pulls block by block.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Returns the number of interleaved channels.
  virtual int channels() const = 0;
  // Returns the sample rate in Hz.
  virtual int sampleRate() const = 0;
  // Returns the total number of frames.
  virtual int64_t frames() const = 0;
  // Reads up to the given number of frames into an interleaved buffer; returns the frames read,
  // 0 at the end.
  virtual int64_t read(float* interleaved, int64_t frames) = 0;
  // Returns a warning when the source ended before the length it declared, else an empty text.
  virtual std::string shortfall() const { return ""; }
};

}  // namespace wrenfold
