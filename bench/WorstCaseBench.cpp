// The costliest processing calls, measured from outside: the module is loaded as a host loads it
// and driven through its record with 64-frame blocks of noise. For each event (a write or a
// program change made between two blocks) it times the block that carries the event out and
// counts the page faults of the calls after it, as a ratio to a plain block; then it times silence
// after the music stops against playing, and watches the tails for subnormal samples and zero.
//
// `wrenfold-worst-case-bench [--quick] [MODULE]` prints the tables for the built module or another
// one to compare with; `--quick`, the CTest smoke run, runs every case a few times only.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/EffectInstance.h"
#include "hostkit/ModuleLibrary.h"

namespace {

using wrenfold::EffectInstance;
namespace hostkit = wrenfold::hostkit;
using Instance = std::unique_ptr<EffectInstance>;
using Event = std::function<void(EffectInstance&, int trial)>;

constexpr int blockFrames = 64;
bool quick = false;

// One 64-frame stereo block: noise in -0.5..0.5 or silence in, the output beside it.
struct Block {
  std::vector<float> in[2], out[2];
  uint32_t seed = 1;
  Block() {
    for (auto* channels : {in, out})
      for (int c = 0; c < 2; ++c) channels[c].assign(blockFrames, 0.0f);
  }
  // Runs the block through an effect, with fresh noise in unless silent, and returns the call's
  // cost in microseconds and page faults.
  std::pair<double, long> run(EffectInstance& effect, bool silent = false) {
    for (auto& channel : in)
      for (float& sample : channel) {
        seed = seed * 1664525u + 1013904223u;
        sample = silent ? 0.0f : static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
      }
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    const long faults = pageFaults();
    const auto start = std::chrono::steady_clock::now();
    effect.process(inputs, outputs, blockFrames);
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::micro>(end - start).count(), pageFaults() - faults};
  }
  static long pageFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt + usage.ru_majflt;
  }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Sets a parameter found by its name: the bench knows the module only through its record.
void set(EffectInstance& effect, const std::string& name, float value) {
  for (int index = 0; index < effect.parameterCount(); ++index)
    if (effect.parameterName(index) == name) effect.setParameterValue(index, value);
}

// Makes a running instance at a rate and program, fed `seconds` of noise.
Instance running(hostkit::ModuleLibrary& module, float rate, int program, double seconds) {
  Instance effect = EffectInstance::fromModule(module);
  effect->configure(rate, blockFrames);
  effect->selectProgram(program);
  effect->start();
  Block block;
  for (double t = 0; t < seconds; t += blockFrames / rate) block.run(*effect);
  return effect;
}

// Sets both delays to their longest: tempo 60, whole notes, 4 s.
void longestDelays(EffectInstance& effect, int) {
  for (const char* name : {"TempoL", "TempoR", "NoteLenL", "NoteLenR"}) set(effect, name, 0.0f);
}

// Prints one row: the median and worst cost of the block after the event, as a ratio to a plain
// block, and the most page faults of that block and of the blocks in the `watch` seconds after it.
// Each of the trials runs on the instance `next` hands out.
void row(const char* name, int trials, const std::function<EffectInstance&(int)>& next,
         const Event& event, float rate, double plain, double watch = 0.0) {
  std::vector<double> micros;
  long faults = 0;
  Block block;
  for (int trial = 0; trial < (quick ? 2 : trials); ++trial) {
    EffectInstance& effect = next(trial);
    for (int i = 0; i < 3; ++i) block.run(effect);
    event(effect, trial);
    const auto [cost, eventFaults] = block.run(effect);
    micros.push_back(cost);
    faults = std::max(faults, eventFaults);
    for (double t = 0; t < watch; t += blockFrames / rate)
      faults = std::max(faults, block.run(effect).second);
  }
  std::printf("  %-36s %9.2f %8.1fx %9.2f %7ld\n", name, median(micros), median(micros) / plain,
              *std::max_element(micros.begin(), micros.end()), faults);
}

void eventTable(hostkit::ModuleLibrary& module, float rate) {
  Instance effect = running(module, rate, 0, 0.0);
  longestDelays(*effect, 0);
  Block block;
  for (double t = 0; t < (quick ? 0.1 : 5.0); t += blockFrames / rate) block.run(*effect);
  std::vector<double> plainMicros;
  for (int i = 0; i < (quick ? 50 : 4000); ++i) plainMicros.push_back(block.run(*effect).first);
  const double plain = median(plainMicros);
  std::printf("\n%g Hz, %d-frame blocks; plain block %.3f us\n", rate, blockFrames, plain);
  std::printf("  %-36s %9s %9s %9s %7s\n", "event before the block", "median us", "ratio", "max us",
              "faults");

  // A new instance each time, kept alive so that no trial finds pages another one touched; the
  // faults are watched while the new stretch fills.
  std::vector<Instance> fresh;
  const auto newInstance = [&](int) -> EffectInstance& {
    fresh.push_back(running(module, rate, 0, 0.1));
    return *fresh.back();
  };
  row("first growth to 4 s, then filling", 12, newInstance, longestDelays, rate, plain, 4.5);
  fresh.clear();

  const auto same = [&](int) -> EffectInstance& { return *effect; };
  const std::pair<const char*, Event> events[] = {
      {"restart (tempo written unchanged)", [](EffectInstance& e, int) { set(e, "TempoL", 0.0f); }},
      {"reverse toggle", [](EffectInstance& e, int trial) { set(e, "NomorRev", trial % 2); }},
      {"clear",
       [](EffectInstance& e, int) {
         set(e, "ClearBuffer", 0.0f);
         set(e, "ClearBuffer", 1.0f);
       }},
      {"program change", [](EffectInstance& e, int trial) { e.selectProgram(trial % 5); }},
      {"cut-off write",
       [](EffectInstance& e, int trial) { set(e, "LpfCutoff", 0.3f + 0.4f * (trial % 2)); }},
  };
  for (const auto& [name, event] : events) row(name, 200, same, event, rate, plain);

  const Event attack = [](EffectInstance& e, int trial) {
    set(e, "RevAttack", 0.2f + 0.001f * static_cast<float>(trial));
  };
  for (const char* mode : {"normal", "reverse"}) {
    longestDelays(*effect, 0);
    set(*effect, "NomorRev", mode[0] == 'r');
    row((std::string("attack written every block, ") + mode).c_str(), 200, same, attack, rate,
        plain);
  }
}

// Plays 2 s of noise through each program (and program 0 reversed), then silence at 44.1 hz;
// prints the cost of both, the subnormal output samples and when the output stays exactly zero.
void tailTable(hostkit::ModuleLibrary& module) {
  const double tailSeconds = quick ? 6.0 : 200.0;
  std::printf("\nsilence after 2 s of noise, 44100 Hz, %g s of tail\n", tailSeconds);
  std::printf("  %-12s %11s %10s %8s %11s %13s\n", "program", "playing us", "silent us", "ratio",
              "subnormals", "zero after s");
  for (int program = 0; program < 6; ++program) {
    Instance effect = running(module, 44100.0f, program % 5, 0.0);
    if (program == 5) set(*effect, "NomorRev", 1.0f);
    Block block;
    std::vector<double> playing, silent;
    for (int i = 0; i < 2 * 44100 / blockFrames; ++i) playing.push_back(block.run(*effect).first);
    long subnormals = 0;
    int lastSounding = -1;
    const int silentBlocks = static_cast<int>(tailSeconds * 44100 / blockFrames);
    for (int i = 0; i < silentBlocks; ++i) {
      silent.push_back(block.run(*effect, true).first);
      for (const auto& channel : block.out)
        for (float sample : channel) {
          subnormals += std::fpclassify(sample) == FP_SUBNORMAL;
          if (sample != 0.0f) lastSounding = i;
        }
    }
    // Zero counts only when it lasts five seconds, past any delay and envelope gap.
    const double zeroAfter = (lastSounding + 1) * blockFrames / 44100.0;
    char zero[16] = "never";
    if (zeroAfter < tailSeconds - 5.0) std::snprintf(zero, sizeof zero, "%.2f", zeroAfter);
    const double cost[2] = {median(playing), median(silent)};
    const std::string name = program == 5 ? "0, reverse" : std::to_string(program);
    std::printf("  %-12s %11.3f %10.3f %7.2fx %11ld %13s\n", name.c_str(), cost[0], cost[1],
                cost[1] / cost[0], subnormals, zero);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = WRENFOLD_MODULE_PATH;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0)
      quick = true;
    else
      path = argv[i];
  }
  hostkit::ModuleLibrary module(path);
  if (!module.loaded()) {
    std::fprintf(stderr, "wrenfold-worst-case-bench: %s\n", module.error().c_str());
    return 1;
  }
  for (float rate : {44100.0f, 192000.0f}) eventTable(module, rate);
  tailTable(module);
  return 0;
}
