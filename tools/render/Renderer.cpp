#include "tools/render/Renderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "tools/render/TailDetector.h"

namespace wrenfold {

namespace {

using Clock = std::chrono::steady_clock;

// Windows of 50 ms hold a full period of anything down to 20 Hz.
constexpr int runawayWindowsPerSecond = 20;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

Renderer::Renderer(EffectInstance& driven, int frames)
    : effect(driven),
      blockSize(frames),
      inputs(static_cast<std::size_t>(std::max(driven.inputCount(), 0)),
             std::vector<float>(static_cast<std::size_t>(frames))),
      // At least two outputs exist so a mono effect can still fill a stereo file.
      outputs(static_cast<std::size_t>(std::max(driven.outputCount(), 2)),
              std::vector<float>(static_cast<std::size_t>(frames))),
      stereo(2 * static_cast<std::size_t>(frames)) {
  for (auto& channel : inputs) {
    inputPointers.push_back(channel.data());
  }
  for (auto& channel : outputs) {
    outputPointers.push_back(channel.data());
  }
}

RenderResult Renderer::render(AudioSource& source, const Sink& sink, const TailPlan& tail,
                              ProgressBar* progress, const CancelCheck& cancelled) {
  result = RenderResult{};
  sumOfSquares = 0.0;
  runaway = RunawayDetector(source.sampleRate() / runawayWindowsPerSecond);
  const int channels = source.channels();
  std::vector<float> interleaved(static_cast<std::size_t>(blockSize * channels));
  int64_t done = 0;
  while (!cancelled()) {
    const Clock::time_point readStart = Clock::now();
    const int64_t frames = source.read(interleaved.data(), blockSize);
    result.readSeconds += secondsSince(readStart);
    if (frames <= 0) {
      break;
    }
    loadInputs(interleaved.data(), channels, static_cast<int>(frames));
    processBlock(static_cast<int>(frames));
    collectOutputs(static_cast<int>(frames));
    emit(sink, stereo.data(), frames);
    done += frames;
    if (progress != nullptr) {
      progress->update(done);
    }
  }
  if (!cancelled()) {
    renderTail(sink, tail, progress, cancelled, done);
  }
  const double samples = 2.0 * static_cast<double>(result.frames);
  result.rms = samples > 0.0 ? std::sqrt(sumOfSquares / samples) : 0.0;
  result.overSeconds = static_cast<double>(runaway.longestOverFrames()) / source.sampleRate();
  return result;
}

void Renderer::loadInputs(const float* interleaved, int channels, int frames) {
  // A mono file feeds every input; a stereo file feeds inputs 0 and 1 (and the last one beyond).
  for (std::size_t input = 0; input < inputs.size(); ++input) {
    const int sourceChannel = std::min(static_cast<int>(input), channels - 1);
    const bool counts = static_cast<int>(input) == sourceChannel;
    const float* from = interleaved + sourceChannel;
    float* target = inputs[input].data();
    for (int i = 0; i < frames; ++i) {
      const float sample = from[static_cast<std::ptrdiff_t>(i) * channels];
      const bool finite = std::isfinite(sample);
      target[i] = finite ? sample : 0.0f;
      result.nonFiniteInput += !finite && counts;
    }
  }
}

void Renderer::processBlock(int frames) {
  const Clock::time_point start = Clock::now();
  effect.process(inputPointers.data(), outputPointers.data(), frames);
  result.processSeconds += secondsSince(start);
}

void Renderer::collectOutputs(int frames) {
  // A mono effect's single output goes to both sides.
  const float* left = outputs[0].data();
  const float* right = effect.outputCount() >= 2 ? outputs[1].data() : outputs[0].data();
  for (int i = 0; i < frames; ++i) {
    const bool leftFinite = std::isfinite(left[i]);
    const bool rightFinite = std::isfinite(right[i]);
    stereo[2 * i] = leftFinite ? left[i] : 0.0f;
    stereo[2 * i + 1] = rightFinite ? right[i] : 0.0f;
    result.nonFiniteOutput += !leftFinite + !rightFinite;
  }
}

void Renderer::emit(const Sink& sink, const float* interleaved, int64_t frames) {
  // Four partial sums per block let the compiler keep the loop in vector registers. They are
  // double, whose range holds the square of any finite float, so a runaway cannot overflow them.
  float peak = result.peak;
  double sums[4] = {0.0, 0.0, 0.0, 0.0};
  const int64_t samples = 2 * frames;
  int64_t i = 0;
  for (; i + 4 <= samples; i += 4) {
    for (int lane = 0; lane < 4; ++lane) {
      const float sample = interleaved[i + lane];
      peak = std::max(peak, std::fabs(sample));
      sums[lane] += static_cast<double>(sample) * sample;
    }
  }
  for (; i < samples; ++i) {
    peak = std::max(peak, std::fabs(interleaved[i]));
    sums[0] += static_cast<double>(interleaved[i]) * interleaved[i];
  }
  result.peak = peak;
  sumOfSquares += sums[0] + sums[1] + sums[2] + sums[3];
  runaway.observe(interleaved, frames);
  const Clock::time_point start = Clock::now();
  sink(interleaved, frames);
  result.writeSeconds += secondsSince(start);
  result.frames += frames;
}

void Renderer::renderTail(const Sink& sink, const TailPlan& tail, ProgressBar* progress,
                          const CancelCheck& cancelled, int64_t& done) {
  for (auto& channel : inputs) {
    std::fill(channel.begin(), channel.end(), 0.0f);
  }
  // A fixed tail is never cut short: its quiet window is longer than the tail itself.
  TailDetector detector(tail.thresholdDb, tail.automatic ? tail.quietFrames : tail.fixedFrames + 1,
                        tail.automatic ? tail.maxFrames : tail.fixedFrames);
  // An automatic tail is held back until its end is known, so its quiet end can be cut off.
  std::vector<float> heldBack;
  while (!detector.finished() && !cancelled()) {
    const int frames = static_cast<int>(std::min<int64_t>(blockSize, detector.remaining()));
    processBlock(frames);
    collectOutputs(frames);
    detector.observe(stereo.data(), frames);
    if (tail.automatic) {
      heldBack.insert(heldBack.end(), stereo.begin(), stereo.begin() + 2 * frames);
    } else {
      emit(sink, stereo.data(), frames);
    }
    done += frames;
    if (progress != nullptr) {
      progress->update(done);
    }
  }
  if (tail.automatic && !cancelled()) {
    result.tailCutAtLimit = detector.reachedLimit();
    emit(sink, heldBack.data(), detector.framesToKeep());
  }
}

}  // namespace wrenfold
