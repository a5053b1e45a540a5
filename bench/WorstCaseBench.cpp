// The costliest processing calls, measured from outside: the module is loaded as a host loads it
// and driven through its record with 64-frame blocks of noise. For each event (a write or a
// program change made between two blocks) it times the block that carries the event out and
// counts the page faults in that call, as a ratio to a plain block; then it times silence after
// the music stops, against playing, and checks the tails for subnormal samples and a final zero.
//
// `wrenfold-worst-case-bench [--quick] [MODULE]` prints the tables for the built module, or for
// another one to compare with; `--quick` runs every case a few times only, which is what the
// CTest smoke run does.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/ModuleLibrary.h"
#include "tools/render/EffectInstance.h"

namespace {

using wrenfold::EffectInstance;
namespace hostkit = wrenfold::hostkit;

constexpr int blockFrames = 64;

// How many times each case runs; --quick makes it a smoke run.
struct Repeats {
  int trials = 200;
  int plainBlocks = 4000;
  int freshInstances = 12;
  double tailSeconds = 200.0;
};

// A 64-frame stereo block of noise (or silence) with room for the output.
struct Block {
  std::vector<float> inL, inR, outL, outR;
  uint32_t seed = 1;

  Block() : inL(blockFrames), inR(blockFrames), outL(blockFrames), outR(blockFrames) {}
  // Fills the inputs with fresh noise in -0.5..0.5, or with zeros.
  void refill(bool silent) {
    for (int i = 0; i < blockFrames; ++i) {
      inL[i] = silent ? 0.0f : nextNoise();
      inR[i] = silent ? 0.0f : nextNoise();
    }
  }
  float nextNoise() {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  }
  // Runs the block through an effect.
  void run(EffectInstance& effect) {
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    effect.process(inputs, outputs, blockFrames);
  }
};

// What one processing call cost.
struct CallCost {
  double micros;
  long pageFaults;
};

// Returns the minor and major page faults of this thread so far.
long threadPageFaults() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

// Times one block and counts its page faults.
CallCost timedBlock(EffectInstance& effect, Block& block) {
  const long faultsBefore = threadPageFaults();
  const auto start = std::chrono::steady_clock::now();
  block.run(effect);
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double, std::micro>(end - start).count(),
          threadPageFaults() - faultsBefore};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// Finds a parameter by its name; the bench speaks to the module only through its record.
int parameterIndex(const EffectInstance& effect, const std::string& name) {
  for (int index = 0; index < effect.parameterCount(); ++index)
    if (effect.parameterName(index) == name) return index;
  std::fprintf(stderr, "wrenfold-worst-case-bench: the module has no parameter %s\n", name.c_str());
  std::exit(1);
}

// Sets a parameter by name.
void set(EffectInstance& effect, const char* name, float value) {
  effect.setParameterValue(parameterIndex(effect, name), value);
}

// Makes an instance at a rate, program 0, running, with its delays at their longest (tempo 60,
// whole notes: 4 s) and the pages of that stretch resident after `warmSeconds` of noise.
std::unique_ptr<EffectInstance> longestDelay(hostkit::ModuleLibrary& module, float rate,
                                             double warmSeconds) {
  std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
  effect->configure(rate, blockFrames);
  effect->start();
  for (const char* name : {"TempoL", "TempoR", "NoteLenL", "NoteLenR"}) set(*effect, name, 0.0f);
  Block block;
  for (double t = 0; t < warmSeconds; t += blockFrames / rate) {
    block.refill(false);
    block.run(*effect);
  }
  return effect;
}

// One event: what a host does between two blocks.
struct Event {
  const char* name;
  std::function<void(EffectInstance&, int trial)> before;
};

// Runs an event's trials on a running instance, with plain blocks in between, and prints a row.
void eventRow(EffectInstance& effect, const Event& event, double plainMicros, const Repeats& repeats) {
  Block block;
  std::vector<double> micros;
  long worstFaults = 0;
  for (int trial = 0; trial < repeats.trials; ++trial) {
    for (int i = 0; i < 3; ++i) {
      block.refill(false);
      block.run(effect);
    }
    event.before(effect, trial);
    block.refill(false);
    const CallCost cost = timedBlock(effect, block);
    micros.push_back(cost.micros);
    worstFaults = std::max(worstFaults, cost.pageFaults);
  }
  const double typical = median(micros);
  std::printf("  %-34s %9.2f %8.1fx %9.2f %8ld\n", event.name, typical, typical / plainMicros,
              *std::max_element(micros.begin(), micros.end()), worstFaults);
}

// Returns the median cost of a plain block of noise.
double plainBlockMicros(EffectInstance& effect, const Repeats& repeats) {
  Block block;
  std::vector<double> micros;
  for (int i = 0; i < repeats.plainBlocks; ++i) {
    block.refill(false);
    micros.push_back(timedBlock(effect, block).micros);
  }
  return median(micros);
}

// Times the first block after the delays grow to 4 s, each time on a new instance whose storage
// has never been touched that far.
void firstGrowthRow(hostkit::ModuleLibrary& module, float rate, double plainMicros,
                    const Repeats& repeats) {
  std::vector<std::unique_ptr<EffectInstance>> kept;  // alive, so no trial reuses freed pages
  std::vector<double> micros;
  long worstFaults = 0;
  Block block;
  for (int trial = 0; trial < repeats.freshInstances; ++trial) {
    std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
    effect->configure(rate, blockFrames);
    effect->start();
    for (int i = 0; i < 100; ++i) {
      block.refill(false);
      block.run(*effect);
    }
    for (const char* name : {"TempoL", "TempoR", "NoteLenL", "NoteLenR"}) set(*effect, name, 0.0f);
    block.refill(false);
    const CallCost cost = timedBlock(*effect, block);
    micros.push_back(cost.micros);
    worstFaults = std::max(worstFaults, cost.pageFaults);
    // The pages of the longer delay come in as the writes reach them: no call may take many.
    for (double t = 0; t < 4.5; t += blockFrames / rate) {
      block.refill(false);
      worstFaults = std::max(worstFaults, timedBlock(*effect, block).pageFaults);
    }
    kept.push_back(std::move(effect));
  }
  const double typical = median(micros);
  std::printf("  %-34s %9.2f %8.1fx %9.2f %8ld\n", "first growth to 4 s, then filling",
              typical, typical / plainMicros, *std::max_element(micros.begin(), micros.end()),
              worstFaults);
}

// Prints the event table of one sample rate.
void eventTable(hostkit::ModuleLibrary& module, float rate, const Repeats& repeats) {
  std::unique_ptr<EffectInstance> effect = longestDelay(module, rate, repeats.trials > 10 ? 5.0 : 0.1);
  const double plain = plainBlockMicros(*effect, repeats);
  std::printf("\n%g Hz, %d-frame blocks; plain block %.3f us\n", rate, blockFrames, plain);
  std::printf("  %-34s %9s %9s %9s %8s\n", "event before the block", "median us", "ratio",
              "max us", "faults");
  firstGrowthRow(module, rate, plain, repeats);
  // faults: the most page faults of one call; for the first growth, of any call while the new
  // stretch fills.
  const std::vector<Event> events = {
      {"restart (tempo written unchanged)", [](EffectInstance& e, int) { set(e, "TempoL", 0.0f); }},
      {"reverse toggle",
       [](EffectInstance& e, int trial) { set(e, "NomorRev", trial % 2 == 0 ? 1.0f : 0.0f); }},
      {"clear",
       [](EffectInstance& e, int) {
         set(e, "ClearBuffer", 0.0f);
         set(e, "ClearBuffer", 1.0f);
       }},
      {"program change", [](EffectInstance& e, int trial) { e.selectProgram(trial % 5); }},
      {"cut-off write",
       [](EffectInstance& e, int trial) { set(e, "LpfCutoff", trial % 2 == 0 ? 0.3f : 0.7f); }},
  };
  for (const Event& event : events) eventRow(*effect, event, plain, repeats);

  // Automation of the attack every block, at the longest delay, in both modes.
  for (float mode : {0.0f, 1.0f}) {
    effect = longestDelay(module, rate, 0.1);
    set(*effect, "NomorRev", mode);
    const Event automation = {mode == 0.0f ? "attack written every block, normal"
                                           : "attack written every block, reverse",
                              [](EffectInstance& e, int trial) {
                                set(e, "RevAttack", 0.2f + 0.001f * static_cast<float>(trial));
                              }};
    eventRow(*effect, automation, plain, repeats);
  }
}

// What a tail after the music stops costs and holds.
struct TailReport {
  double playingMicros = 0;
  double silentMicros = 0;
  long subnormalSamples = 0;
  double secondsToZero = -1;  // -1: never exactly zero
};

// Returns whether a sample is subnormal.
bool subnormal(float sample) { return sample != 0.0f && std::fabs(sample) < 1.17549435e-38f; }

// Plays 2 s of noise through a program, then silence; times both and watches the output.
TailReport tail(hostkit::ModuleLibrary& module, int program, bool reverse, const Repeats& repeats) {
  const float rate = 44100.0f;
  std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
  effect->configure(rate, blockFrames);
  effect->selectProgram(program);
  if (reverse) set(*effect, "NomorRev", 1.0f);
  effect->start();
  Block block;
  TailReport report;
  std::vector<double> playing;
  const int playingBlocks = static_cast<int>(2.0 * rate / blockFrames);
  for (int i = 0; i < playingBlocks; ++i) {
    block.refill(false);
    playing.push_back(timedBlock(*effect, block).micros);
  }
  report.playingMicros = median(playing);

  std::vector<double> silent;
  const int silentBlocks = static_cast<int>(repeats.tailSeconds * rate / blockFrames);
  block.refill(true);
  for (int i = 0; i < silentBlocks; ++i) {
    const double micros = timedBlock(*effect, block).micros;
    if (i >= silentBlocks - 2000 || silentBlocks < 4000) silent.push_back(micros);
    bool allZero = true;
    for (int f = 0; f < blockFrames; ++f) {
      for (float sample : {block.outL[f], block.outR[f]}) {
        report.subnormalSamples += subnormal(sample) ? 1 : 0;
        allZero = allZero && sample == 0.0f;
      }
    }
    if (!allZero) report.secondsToZero = -1;
    else if (report.secondsToZero < 0) report.secondsToZero = i * blockFrames / rate;
  }
  report.silentMicros = median(silent);
  // A stretch of zeros counts only when it lasts past any delay and envelope gap.
  if (report.secondsToZero > repeats.tailSeconds - 5.0) report.secondsToZero = -1;
  return report;
}

// Prints the tail table: every program, and program 0 reversed.
void tailTable(hostkit::ModuleLibrary& module, const Repeats& repeats) {
  std::printf("\nsilence after 2 s of noise, 44100 Hz, %g s of tail\n", repeats.tailSeconds);
  std::printf("  %-22s %11s %10s %8s %11s %13s\n", "program", "playing us", "silent us", "ratio",
              "subnormals", "zero after s");
  for (int program = 0; program < 6; ++program) {
    const bool reverse = program == 5;
    const TailReport report = tail(module, reverse ? 0 : program, reverse, repeats);
    const std::string name = reverse ? "0, reverse" : std::to_string(program);
    char zero[32] = "never";
    if (report.secondsToZero >= 0) std::snprintf(zero, sizeof zero, "%.2f", report.secondsToZero);
    std::printf("  %-22s %11.3f %10.3f %7.2fx %11ld %13s\n", name.c_str(), report.playingMicros,
                report.silentMicros, report.silentMicros / report.playingMicros,
                report.subnormalSamples, zero);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Repeats repeats;
  const char* path = WRENFOLD_MODULE_PATH;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0)
      repeats = {4, 50, 2, 6.0};
    else
      path = argv[i];
  }
  hostkit::ModuleLibrary module(path);
  if (!module.loaded()) {
    std::fprintf(stderr, "wrenfold-worst-case-bench: %s\n", module.error().c_str());
    return 1;
  }
  for (float rate : {44100.0f, 192000.0f}) eventTable(module, rate, repeats);
  tailTable(module, repeats);
  return 0;
}
