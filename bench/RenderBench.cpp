// What wrenfold-render adds to the module's own processing: the module driven directly through
// its record, the same through the renderer's block loop (input guard, mixing, level measurement),
// and the whole render of a 60 s stereo 44.1 hz WAV file to another. real_time_factor is seconds
// of audio per second of work.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/EffectInstance.h"
#include "hostkit/ModuleLibrary.h"
#include "tools/render/Renderer.h"
#include "tools/render/SoundFileReader.h"
#include "tools/render/SoundFileWriter.h"

namespace {

using namespace wrenfold;

constexpr int rate = 44100;
constexpr int64_t totalFrames = 60 * rate;
constexpr int blockFrames = 512;

// Returns deterministic interleaved stereo noise in -0.5..0.5.
std::vector<float> stereoNoise() {
  std::vector<float> samples(2 * totalFrames);
  uint32_t seed = 7;
  for (float& sample : samples) {
    seed = seed * 1664525u + 1013904223u;
    sample = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  }
  return samples;
}

// Serves interleaved samples held in memory.
class MemorySource : public AudioSource {
 public:
  // Serves the given samples from the start.
  explicit MemorySource(const std::vector<float>& held) : samples(held) {}
  // Returns 2.
  int channels() const override { return 2; }
  // Returns 44100.
  int sampleRate() const override { return rate; }
  // Returns the number of frames held.
  int64_t frames() const override { return static_cast<int64_t>(samples.size() / 2); }
  // Copies the next frames.
  int64_t read(float* interleaved, int64_t frames) override {
    const int64_t count = std::min(frames, this->frames() - position);
    std::copy_n(samples.begin() + 2 * position, 2 * count, interleaved);
    position += count;
    return count;
  }

 private:
  const std::vector<float>& samples;
  int64_t position = 0;
};

std::unique_ptr<EffectInstance> startedEffect(hostkit::ModuleLibrary& module) {
  std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
  effect->configure(static_cast<float>(rate), blockFrames);
  effect->start();
  return effect;
}

void reportRealTime(benchmark::State& state) {
  state.counters["real_time_factor"] = benchmark::Counter(
      static_cast<double>(totalFrames) / rate * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

TailPlan noTail() {
  TailPlan plan;
  plan.automatic = false;
  return plan;
}

void moduleAlone(benchmark::State& state) {
  hostkit::ModuleLibrary module(WRENFOLD_MODULE_PATH);
  std::unique_ptr<EffectInstance> effect = startedEffect(module);
  const std::vector<float> samples = stereoNoise();
  std::vector<float> left(totalFrames), right(totalFrames), outLeft(blockFrames),
      outRight(blockFrames);
  for (int64_t i = 0; i < totalFrames; ++i) {
    left[i] = samples[2 * i];
    right[i] = samples[2 * i + 1];
  }
  for (auto _ : state) {
    for (int64_t start = 0; start < totalFrames; start += blockFrames) {
      const int frames = static_cast<int>(std::min<int64_t>(blockFrames, totalFrames - start));
      float* inputs[2] = {left.data() + start, right.data() + start};
      float* outputs[2] = {outLeft.data(), outRight.data()};
      effect->process(inputs, outputs, frames);
    }
    benchmark::DoNotOptimize(outLeft.data());
  }
  reportRealTime(state);
}
BENCHMARK(moduleAlone)->Unit(benchmark::kMillisecond);

void rendererInMemory(benchmark::State& state) {
  hostkit::ModuleLibrary module(WRENFOLD_MODULE_PATH);
  std::unique_ptr<EffectInstance> effect = startedEffect(module);
  const std::vector<float> samples = stereoNoise();
  Renderer renderer(*effect, blockFrames);
  float last = 0.0f;
  for (auto _ : state) {
    MemorySource source(samples);
    renderer.render(
        source, [&](const float* frames, int64_t count) { last = frames[2 * count - 1]; }, noTail(),
        nullptr, [] { return false; });
    benchmark::DoNotOptimize(last);
  }
  reportRealTime(state);
}
BENCHMARK(rendererInMemory)->Unit(benchmark::kMillisecond);

void renderWavFile(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("wrenfold-render-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string input = (folder / "in.wav").string();
  const std::string output = (folder / "out.wav").string();
  {
    SoundFileWriter writer(input, SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, 2);
    writer.write(stereoNoise().data(), totalFrames);
    writer.commit();
  }
  hostkit::ModuleLibrary module(WRENFOLD_MODULE_PATH);
  std::unique_ptr<EffectInstance> effect = startedEffect(module);
  Renderer renderer(*effect, blockFrames);
  double processSeconds = 0.0;
  double ioSeconds = 0.0;
  for (auto _ : state) {
    SoundFileReader reader(input);
    SoundFileWriter writer(output, reader.format(), rate, 2);
    const RenderResult result = renderer.render(
        reader, [&](const float* frames, int64_t count) { writer.write(frames, count); }, noTail(),
        nullptr, [] { return false; });
    writer.commit();
    processSeconds += result.processSeconds;
    ioSeconds += result.readSeconds + result.writeSeconds;
  }
  reportRealTime(state);
  state.counters["processing_share"] = processSeconds / (processSeconds + ioSeconds);
  std::filesystem::remove_all(folder);
}
BENCHMARK(renderWavFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
