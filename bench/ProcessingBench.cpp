// Cost of the delay's processing per stereo frame, next to a plain scalar loop of the same shape:
// two delay reads and writes, a low-pass and a high-pass biquad in each loop, the 2 x 2 mix.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "delay/DelayEffect.h"
#include "delay/LoopFilter.h"
#include "delay/ReverseEnvelope.h"

namespace {

using wrenfold::DelayEffect;

constexpr int32_t signalLength = 1 << 16;

// Returns a deterministic noise signal in -0.5..0.5.
std::vector<float> noise(uint32_t seed) {
  std::vector<float> signal(signalLength);
  for (float& sample : signal) {
    seed = seed * 1664525u + 1013904223u;
    sample = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  }
  return signal;
}

// Reports the time per processed stereo frame.
void reportPerFrame(benchmark::State& state, int64_t frames) {
  state.counters["per_frame"] = benchmark::Counter(
      static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void effectProcessing(benchmark::State& state) {
  const int32_t program = static_cast<int32_t>(state.range(0));
  const int32_t block = static_cast<int32_t>(state.range(1));
  DelayEffect effect(nullptr);
  effect.selectProgram(program);
  std::vector<float> inL = noise(1), inR = noise(2), outL(signalLength), outR(signalLength);
  int32_t offset = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    float* ins[2] = {inL.data() + offset, inR.data() + offset};
    float* outs[2] = {outL.data() + offset, outR.data() + offset};
    effect.processOverwriting(ins, outs, block);
    benchmark::DoNotOptimize(outL[offset]);
    offset = (offset + block) % signalLength;
    frames += block;
  }
  reportPerFrame(state, frames);
}

// One direct-form-I biquad with its coefficients and history.
struct Biquad {
  float b0, b1, b2, a1, a2;
  float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  float run(float x) {
    const float y = b2 * x2 + b0 * x + b1 * x1 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// One channel of the reference: a circular buffer, an index pair and the two filter stages.
struct ReferenceChannel {
  std::vector<float> buffer;
  int32_t length;
  int32_t readIndex = 0;
  int32_t writeIndex = 0;
  Biquad lowPass;
  Biquad highPass;
  std::vector<float> envelope;
  int32_t envelopeIndex = 0;

  float read(bool backwards) {
    const float sample = buffer[readIndex];
    if (backwards)
      readIndex = readIndex == 0 ? length - 1 : readIndex - 1;
    else
      readIndex = readIndex + 1 == length ? 0 : readIndex + 1;
    return sample;
  }
  void write(float sample) {
    buffer[writeIndex] = sample;
    writeIndex = writeIndex + 1 == length ? 0 : writeIndex + 1;
  }
  float gain() {
    const float g = envelope[envelopeIndex];
    envelopeIndex = envelopeIndex + 1 == length ? 0 : envelopeIndex + 1;
    return g;
  }
};

// Builds a reference channel with the same lengths and coefficients as an effect channel.
ReferenceChannel referenceChannel(const DelayEffect& effect, int32_t channel) {
  ReferenceChannel reference;
  reference.length = effect.delayLength(channel);
  reference.buffer.assign(effect.delayCapacity(channel), 0.0f);
  float c[5];
  effect.loopFilter(channel)->lowPassCoefficients(c);
  reference.lowPass = {c[0], c[1], c[2], c[3], c[4]};
  effect.loopFilter(channel)->highPassCoefficients(c);
  reference.highPass = {c[0], c[1], c[2], c[3], c[4]};
  for (int32_t i = 0; i < reference.length; ++i)
    reference.envelope.push_back(effect.reverseEnvelope(channel)->gainAt(i));
  return reference;
}

void referenceProcessing(benchmark::State& state) {
  const int32_t program = static_cast<int32_t>(state.range(0));
  const int32_t block = static_cast<int32_t>(state.range(1));
  DelayEffect effect(nullptr);
  effect.selectProgram(program);
  ReferenceChannel left = referenceChannel(effect, 0);
  ReferenceChannel right = referenceChannel(effect, 1);
  const bool backwards = effect.engineValue(wrenfold::NomorRev) > 0.5f;
  const float feedbackL = effect.engineValue(wrenfold::FeedBackL);
  const float feedbackR = effect.engineValue(wrenfold::FeedBackR);
  const float wetL = effect.engineValue(wrenfold::WetLevelL);
  const float wetR = effect.engineValue(wrenfold::WetLevelR);
  const float panL = effect.engineValue(wrenfold::WetPanL);
  const float panR = effect.engineValue(wrenfold::WetPanR);
  const float dryL = effect.engineValue(wrenfold::DryLevelL);
  const float dryR = effect.engineValue(wrenfold::DryLevelR);
  const float ll = (1 - panL) * wetL, lr = panL * wetL, rl = (1 - panR) * wetR, rr = panR * wetR;

  std::vector<float> inL = noise(1), inR = noise(2), outL(signalLength), outR(signalLength);
  int32_t offset = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    const float* xl = inL.data() + offset;
    const float* xr = inR.data() + offset;
    float* yl = outL.data() + offset;
    float* yr = outR.data() + offset;
    for (int32_t i = 0; i < block; ++i) {
      float dl = left.read(backwards);
      float dr = right.read(backwards);
      left.write(left.highPass.run(left.lowPass.run(dl * feedbackL + xl[i])));
      right.write(right.highPass.run(right.lowPass.run(dr * feedbackR + xr[i])));
      if (backwards) {
        dl *= left.gain();
        dr *= right.gain();
      }
      yl[i] = rl * dr + ll * dl + dryL * xl[i];
      yr[i] = rr * dr + lr * dl + dryR * xr[i];
    }
    benchmark::DoNotOptimize(outL[offset]);
    offset = (offset + block) % signalLength;
    frames += block;
  }
  reportPerFrame(state, frames);
}

// Program 0 reads forwards, program 2 backwards; blocks of 64 and 512 frames.
void programsAndBlocks(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"program", "block"});
  for (int64_t program : {0, 2})
    for (int64_t block : {64, 512}) benchmark->Args({program, block});
}

BENCHMARK(effectProcessing)->Apply(programsAndBlocks);
BENCHMARK(referenceProcessing)->Apply(programsAndBlocks);

}  // namespace

BENCHMARK_MAIN();
