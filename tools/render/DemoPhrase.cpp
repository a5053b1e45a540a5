#include "tools/render/DemoPhrase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace wrenfold {

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr double beatsPerMinute = 120.0;
constexpr int steps = 32;  // two bars of sixteenth notes
constexpr double peakLevel = 0.5;

// A pitch sweep from 150 Hz down towards 45 Hz under a fast exponential decay.
std::vector<float> kick(int rate) {
  std::vector<float> hit(static_cast<std::size_t>(rate * 0.35));
  double phase = 0.0;
  for (std::size_t i = 0; i < hit.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    phase += twoPi * (45.0 + 105.0 * std::exp(-t * 30.0)) / rate;
    hit[i] = static_cast<float>(std::sin(phase) * std::exp(-t * 9.0));
  }
  return hit;
}

// Fixed-seed noise, so the phrase is the same on every run and platform.
class Noise {
 public:
  double next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t state = 22222u;
};

// Noise through a first-order high-pass, decaying at the given rate per second.
std::vector<float> noiseBurst(int rate, double seconds, double decay, double highPass,
                              Noise& noise) {
  std::vector<float> hit(static_cast<std::size_t>(rate * seconds));
  const double keep = std::exp(-twoPi * highPass / rate);
  double previousIn = 0.0;
  double previousOut = 0.0;
  for (std::size_t i = 0; i < hit.size(); ++i) {
    const double in = noise.next();
    previousOut = keep * (previousOut + in - previousIn);
    previousIn = in;
    hit[i] = static_cast<float>(previousOut * std::exp(-decay * static_cast<double>(i) / rate));
  }
  return hit;
}

// A snare: a short tone body under high-passed noise.
std::vector<float> snare(int rate, Noise& noise) {
  std::vector<float> hit = noiseBurst(rate, 0.25, 18.0, 900.0, noise);
  for (std::size_t i = 0; i < hit.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    hit[i] =
        static_cast<float>(0.6 * hit[i] + 0.5 * std::sin(twoPi * 190.0 * t) * std::exp(-t * 25.0));
  }
  return hit;
}

// A plucked tone with two partials and a soft attack.
std::vector<float> pluck(int rate, double frequency) {
  std::vector<float> hit(static_cast<std::size_t>(rate * 0.6));
  for (std::size_t i = 0; i < hit.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double attack = std::min(1.0, t * 400.0);
    const double tone =
        std::sin(twoPi * frequency * t) + 0.3 * std::sin(twoPi * 2.0 * frequency * t);
    hit[i] = static_cast<float>(0.6 * tone * attack * std::exp(-t * 7.0));
  }
  return hit;
}

}  // namespace

DemoPhrase::DemoPhrase(int sampleRate) : rate(sampleRate) {
  const double stepSeconds = 60.0 / beatsPerMinute / 4.0;
  const auto stepFrame = [&](int step) {
    return static_cast<std::size_t>(std::lround(step * stepSeconds * sampleRate));
  };
  samples.assign(2 * stepFrame(steps), 0.0f);

  Noise noise;
  const std::vector<float> kickHit = kick(sampleRate);
  const std::vector<float> snareHit = snare(sampleRate, noise);
  const std::vector<float> hatHit = noiseBurst(sampleRate, 0.06, 70.0, 6000.0, noise);
  const std::vector<float> lowPluck = pluck(sampleRate, 220.0);
  const std::vector<float> highPluck = pluck(sampleRate, 329.63);

  for (int step = 0; step < steps; ++step) {
    const int inBar = step % 16;
    if (inBar == 0 || inBar == 6 || inBar == 10) {
      addHit(kickHit, stepFrame(step), 0.5f);
    }
    if (inBar == 4 || inBar == 12) {
      addHit(snareHit, stepFrame(step), 0.45f);
    }
    if (inBar % 2 == 0) {
      addHit(hatHit, stepFrame(step), 0.7f);
    }
  }
  addHit(lowPluck, stepFrame(3), 0.25f);
  addHit(highPluck, stepFrame(19), 0.3f);

  float peak = 0.0f;
  for (float sample : samples) {
    peak = std::max(peak, std::fabs(sample));
  }
  const float gain = peak > 0.0f ? static_cast<float>(peakLevel / peak) : 1.0f;
  for (float& sample : samples) {
    sample *= gain;
  }
}

int64_t DemoPhrase::frames() const { return static_cast<int64_t>(samples.size() / 2); }

int64_t DemoPhrase::read(float* interleaved, int64_t frames) {
  const std::size_t available = samples.size() / 2 - position;
  const std::size_t count =
      std::min(available, static_cast<std::size_t>(std::max<int64_t>(frames, 0)));
  std::memcpy(interleaved, samples.data() + 2 * position, count * 2 * sizeof(float));
  position += count;
  return static_cast<int64_t>(count);
}

void DemoPhrase::addHit(const std::vector<float>& hit, std::size_t start, float pan) {
  const std::size_t frames = samples.size() / 2;
  for (std::size_t i = 0; i < hit.size() && start + i < frames; ++i) {
    samples[2 * (start + i)] += hit[i] * (1.0f - pan);
    samples[2 * (start + i) + 1] += hit[i] * pan;
  }
}

}  // namespace wrenfold
