#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "hostkit/EffectInstance.h"
#include "tools/render/AudioSource.h"
#include "tools/render/ProgressBar.h"
#include "tools/render/RunawayDetector.h"

namespace wrenfold {

// How long to go on after the input has ended.
struct TailPlan {
  bool automatic = true;
  int64_t fixedFrames = 0;  // used when not automatic
  int64_t quietFrames = 0;  // automatic: stop after this many frames below the threshold
  int64_t maxFrames = 0;    // automatic: never render more than this
  double thresholdDb = -90.0;
};

// What a render produced and how long its parts took.
struct RenderResult {
  int64_t frames = 0;
  float peak = 0.0f;
  double rms = 0.0;
  int64_t nonFiniteInput = 0;
  int64_t nonFiniteOutput = 0;
  double overSeconds = 0.0;     // the longest stretch above 0 dBFS
  bool tailCutAtLimit = false;  // an automatic tail still sounded at its limit

  double processSeconds = 0.0;
  double readSeconds = 0.0;
  double writeSeconds = 0.0;
};

// Runs a source through a prepared effect block by block and hands stereo output on, interleaved.
// Non-finite input samples are replaced by silence before the effect sees them, and non-finite
// output samples before they are written, so one bad sample cannot poison the file.
class Renderer {
 public:
  using Sink = std::function<void(const float* interleaved, int64_t frames)>;
  using CancelCheck = std::function<bool()>;

  // Drives the given effect, whose processing is already switched on, in blocks of `frames`.
  Renderer(EffectInstance& driven, int frames);

  // Renders the whole source and its tail into the sink; stops early when cancelled says so.
  RenderResult render(AudioSource& source, const Sink& sink, const TailPlan& tail,
                      ProgressBar* progress, const CancelCheck& cancelled);

 private:
  // Fills the effect's inputs from interleaved frames of the given channel count.
  void loadInputs(const float* interleaved, int channels, int frames);
  // Runs the effect over the loaded inputs, timed.
  void processBlock(int frames);
  // Copies the outputs into the interleaved stereo buffer, guarding and measuring them.
  void collectOutputs(int frames);
  // Writes the first frames of the interleaved stereo buffer, timed.
  void emit(const Sink& sink, const float* interleaved, int64_t frames);
  // Renders the tail that follows the input.
  void renderTail(const Sink& sink, const TailPlan& tail, ProgressBar* progress,
                  const CancelCheck& cancelled, int64_t& done);

  EffectInstance& effect;
  int blockSize;
  std::vector<std::vector<float>> inputs;
  std::vector<std::vector<float>> outputs;
  std::vector<float*> inputPointers;
  std::vector<float*> outputPointers;
  std::vector<float> stereo;
  double sumOfSquares = 0.0;
  RunawayDetector runaway{1};
  RenderResult result;
};

}  // namespace wrenfold
