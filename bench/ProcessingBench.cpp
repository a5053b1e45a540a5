// Cost of the delay's processing per stereo frame, next to a plain scalar loop of the same shape:
// two delay reads and writes, a low-pass and a high-pass biquad in each loop, the 2 x 2 mix.
// The effect runs once with its scalar reference loop and once with its two-lane loop.
//
// `wrenfold-bench` runs the timed benchmarks; `wrenfold-bench --frames LOOP PROGRAM BLOCK FRAMES`
// renders a fixed number of frames untimed (LOOP is reference, scalar or two-lane), which
// bench/callgrind-processing.sh runs under callgrind to count instructions per frame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "delay/DelayEffect.h"
#include "dsp/LoopFilter.h"
#include "dsp/ReverseEnvelope.h"

namespace {

using wrenfold::DelayEffect;
using wrenfold::FrameLoop;

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

// Noise in and room for the output, walked through block by block.
struct Signal {
  std::vector<float> inL = noise(1), inR = noise(2), outL = std::vector<float>(signalLength),
                     outR = std::vector<float>(signalLength);
  int32_t offset = 0;
  // Moves on to the next block of the given size.
  void advance(int32_t block) { offset = (offset + block) % signalLength; }
};

// Something that processes blocks of the noise signal.
class Processing {
 public:
  virtual ~Processing() = default;
  // Processes the next block of frames.
  virtual void block(int32_t frames) = 0;
};

// The effect itself through its replacing entry, with the loop chosen.
class EffectProcessing : public Processing {
 public:
  EffectProcessing(FrameLoop loop, int32_t program) {
    effect.chooseFrameLoop(loop);
    effect.selectProgram(program);
  }
  void block(int32_t frames) override {
    float* ins[2] = {signal.inL.data() + signal.offset, signal.inR.data() + signal.offset};
    float* outs[2] = {signal.outL.data() + signal.offset, signal.outR.data() + signal.offset};
    effect.processOverwriting(ins, outs, frames);
    benchmark::DoNotOptimize(signal.outL[signal.offset]);
    signal.advance(frames);
  }

 private:
  DelayEffect effect{nullptr};
  Signal signal;
};

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

// The plain scalar loop with the effect's lengths, coefficients, envelopes and gains.
class ReferenceProcessing : public Processing {
 public:
  explicit ReferenceProcessing(int32_t program) {
    DelayEffect effect(nullptr);
    effect.selectProgram(program);
    left = referenceChannel(effect, 0);
    right = referenceChannel(effect, 1);
    backwards = effect.engineValue(wrenfold::NomorRev) > 0.5f;
    feedbackL = effect.engineValue(wrenfold::FeedBackL);
    feedbackR = effect.engineValue(wrenfold::FeedBackR);
    const float wetL = effect.engineValue(wrenfold::WetLevelL);
    const float wetR = effect.engineValue(wrenfold::WetLevelR);
    const float panL = effect.engineValue(wrenfold::WetPanL);
    const float panR = effect.engineValue(wrenfold::WetPanR);
    dryL = effect.engineValue(wrenfold::DryLevelL);
    dryR = effect.engineValue(wrenfold::DryLevelR);
    ll = (1 - panL) * wetL;
    lr = panL * wetL;
    rl = (1 - panR) * wetR;
    rr = panR * wetR;
  }
  void block(int32_t frames) override {
    const float* xl = signal.inL.data() + signal.offset;
    const float* xr = signal.inR.data() + signal.offset;
    float* yl = signal.outL.data() + signal.offset;
    float* yr = signal.outR.data() + signal.offset;
    for (int32_t i = 0; i < frames; ++i) {
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
    benchmark::DoNotOptimize(signal.outL[signal.offset]);
    signal.advance(frames);
  }

 private:
  ReferenceChannel left, right;
  bool backwards = false;
  float feedbackL = 0, feedbackR = 0, dryL = 0, dryR = 0, ll = 0, lr = 0, rl = 0, rr = 0;
  Signal signal;
};

// Returns the processing a loop name asks for, or null for an unknown name.
std::unique_ptr<Processing> processingFor(const char* loop, int32_t program) {
  if (std::strcmp(loop, "reference") == 0) return std::make_unique<ReferenceProcessing>(program);
  if (std::strcmp(loop, "scalar") == 0)
    return std::make_unique<EffectProcessing>(FrameLoop::scalar, program);
  if (std::strcmp(loop, "two-lane") == 0)
    return std::make_unique<EffectProcessing>(FrameLoop::twoLane, program);
  return nullptr;
}

// Times one loop name over blocks of the benchmark's size.
void timeProcessing(benchmark::State& state, const char* loop) {
  const int32_t block = static_cast<int32_t>(state.range(1));
  std::unique_ptr<Processing> processing =
      processingFor(loop, static_cast<int32_t>(state.range(0)));
  int64_t frames = 0;
  for (auto _ : state) {
    processing->block(block);
    frames += block;
  }
  reportPerFrame(state, frames);
}

// Renders a fixed number of frames: --frames LOOP PROGRAM BLOCK FRAMES.
int renderFrames(int argc, char** argv) {
  std::unique_ptr<Processing> processing =
      argc == 6 ? processingFor(argv[2], std::atoi(argv[3])) : nullptr;
  const int32_t block = argc == 6 ? std::atoi(argv[4]) : 0;
  const int64_t frames = argc == 6 ? std::atoll(argv[5]) : 0;
  if (processing == nullptr || block <= 0 || block > signalLength || frames % block != 0) {
    std::fprintf(stderr,
                 "usage: wrenfold-bench --frames reference|scalar|two-lane PROGRAM BLOCK FRAMES\n"
                 "       (FRAMES a multiple of BLOCK, BLOCK at most %d)\n",
                 signalLength);
    return 2;
  }
  for (int64_t done = 0; done < frames; done += block) processing->block(block);
  return 0;
}

// Program 0 reads forwards, program 2 backwards; blocks of 64 and 512 frames.
void programsAndBlocks(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"program", "block"});
  for (int64_t program : {0, 2})
    for (int64_t block : {64, 512}) benchmark->Args({program, block});
}

BENCHMARK_CAPTURE(timeProcessing, reference, "reference")->Apply(programsAndBlocks);
BENCHMARK_CAPTURE(timeProcessing, scalar, "scalar")->Apply(programsAndBlocks);
BENCHMARK_CAPTURE(timeProcessing, two_lane, "two-lane")->Apply(programsAndBlocks);

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--frames") == 0) return renderFrames(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
