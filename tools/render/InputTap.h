#pragma once

#include <functional>

#include "tools/render/AudioSource.h"

namespace wrenfold {

// A source that hands every block it reads to an observer before passing it on, so the input can
// be analysed while it is rendered without reading the file twice.
class InputTap : public AudioSource {
 public:
  using Observer = std::function<void(const float* interleaved, int channels, int64_t frames)>;

  // Wraps the source, which must outlive the tap.
  InputTap(AudioSource& tapped, Observer onRead);

  // Returns the source's channel count.
  int channels() const override { return source.channels(); }
  // Returns the source's sample rate.
  int sampleRate() const override { return source.sampleRate(); }
  // Returns the source's length.
  int64_t frames() const override { return source.frames(); }
  // Reads from the source and shows what was read to the observer.
  int64_t read(float* interleaved, int64_t frames) override;
  // Returns the source's shortfall warning.
  std::string shortfall() const override { return source.shortfall(); }

 private:
  AudioSource& source;
  Observer observer;
};

}  // namespace wrenfold
