#pragma once

#include <vector>

#include "tools/render/AudioSource.h"

namespace wrenfold {

// A short synthesised stereo percussive pattern (kick, snare, hats and a plucked tone, two bars at
// 120 BPM followed by nothing), so the renderer works with no file at hand. It is the same for
// every run at a given sample rate.
class DemoPhrase : public AudioSource {
 public:
  // Synthesises the phrase at the given sample rate.
  explicit DemoPhrase(int sampleRate = 44100);

  // Returns 2.
  int channels() const override { return 2; }
  // Returns the sample rate in Hz.
  int sampleRate() const override { return rate; }
  // Returns the phrase's length in frames.
  int64_t frames() const override;
  // Copies the next frames.
  int64_t read(float* interleaved, int64_t frames) override;

 private:
  // Mixes one hit into both channels at the given frame with a pan of 0 (left) to 1 (right).
  void addHit(const std::vector<float>& hit, std::size_t start, float pan);

  int rate;
  std::vector<float> samples;
  std::size_t position = 0;
};

}  // namespace wrenfold
