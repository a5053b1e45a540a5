// wrenfold-fingerprint MODULE OUTPUT: writes everything a host can observe of the module's
// arithmetic into one file: every parameter's display text over a sweep of values, and the audio
// of every program for the same input. The Linux and the Windows builds must write the same bytes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"

namespace {

using wrenfold::hostkit::dispatch;

constexpr int32_t block = 256;
constexpr int32_t frames = 188 * block;
constexpr int32_t sweepSteps = 257;

// An impulse, then a decaying tone and integer noise: every value is exact in single precision.
std::vector<float> testInput(int32_t channel) {
  std::vector<float> samples(frames);
  uint32_t state = 12345u + static_cast<uint32_t>(channel);
  samples[0] = 1.0f;
  for (int32_t i = 1; i < frames; ++i) {
    state = state * 1664525u + 1013904223u;
    const float noise = static_cast<float>(static_cast<int32_t>(state >> 16) - 32768) / 65536.0f;
    samples[i] = i < frames / 2 ? noise * 0.25f : 0.0f;
  }
  return samples;
}

void writeText(std::FILE* out, AEffect* effect, int32_t opcode, int32_t index) {
  std::fprintf(out, "%s\n", wrenfold::hostkit::effectText(effect, opcode, index).c_str());
}

void writeDisplaySweep(std::FILE* out, AEffect* effect) {
  for (int32_t index = 0; index < effect->numParams; ++index) {
    writeText(out, effect, effGetParamName, index);
    writeText(out, effect, effGetParamLabel, index);
    for (int32_t step = 0; step < sweepSteps; ++step) {
      effect->setParameter(effect, index, static_cast<float>(step) / (sweepSteps - 1));
      writeText(out, effect, effGetParamDisplay, index);
    }
  }
}

void writeProgramAudio(std::FILE* out, AEffect* effect, int32_t program) {
  dispatch(effect, effSetProgram, 0, program);
  dispatch(effect, effMainsChanged, 0, 1);
  std::vector<float> inLeft = testInput(0), inRight = testInput(1);
  std::vector<float> outLeft(frames), outRight(frames);
  for (int32_t start = 0; start < frames; start += block) {
    float* inputs[] = {inLeft.data() + start, inRight.data() + start};
    float* outputs[] = {outLeft.data() + start, outRight.data() + start};
    effect->processReplacing(effect, inputs, outputs, block);
  }
  std::fwrite(outLeft.data(), sizeof(float), outLeft.size(), out);
  std::fwrite(outRight.data(), sizeof(float), outRight.size(), out);
  dispatch(effect, effMainsChanged, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wrenfold-fingerprint MODULE OUTPUT\n");
    return 2;
  }
  wrenfold::hostkit::ModuleLibrary module(argv[1]);
  AEffect* effect = module.createEffect(wrenfold::hostkit::Host::callback(), "main");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (effect == nullptr || out == nullptr) {
    std::fprintf(stderr, "cannot use %s or write %s: %s\n", argv[1], argv[2],
                 module.error().c_str());
    return 1;
  }
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  dispatch(effect, effSetBlockSize, 0, block);
  for (int32_t program = 0; program < effect->numPrograms; ++program)
    writeProgramAudio(out, effect, program);
  writeDisplaySweep(out, effect);
  dispatch(effect, effClose);
  return std::fclose(out) == 0 ? 0 : 1;
}
