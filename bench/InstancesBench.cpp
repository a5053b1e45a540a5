// What one instance of the module costs a host that runs many: resident memory per instance with
// 100 instances set to a program and a sample rate, resumed and fed five seconds each (the delay
// lines take their pages as they fill, so by then they hold all they ever will), and the time
// to create and to close one instance. Each memory case runs in a child process of its own, so
// memory freed by an earlier case (and kept by the allocator) cannot hide what the next one takes.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "hostkit/EffectInstance.h"
#include "hostkit/ModuleLibrary.h"

namespace {

using namespace wrenfold;

constexpr int instanceCount = 100;
constexpr int block = 512;

// Returns the process's resident memory in bytes, or 0 when it cannot be read.
int64_t residentBytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return 0;
  long total = 0;
  long resident = 0;
  const int read = std::fscanf(file, "%ld %ld", &total, &resident);
  std::fclose(file);
  return read == 2 ? static_cast<int64_t>(resident) * sysconf(_SC_PAGESIZE) : 0;
}

// Creates an instance the way a host starts one: program, rate, resume, then blocks of silence
// for `seconds`.
std::unique_ptr<EffectInstance> runningInstance(hostkit::ModuleLibrary& module, int program,
                                                float rate, double seconds) {
  std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
  effect->selectProgram(program);
  effect->configure(rate, block);
  effect->start();
  std::vector<float> in(block, 0.0f), outLeft(block), outRight(block);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  for (double t = 0; t < seconds; t += block / rate) effect->process(inputs, outputs, block);
  return effect;
}

// Returns the resident bytes that instanceCount running instances add, measured in a child process;
// -1 when the child fails.
int64_t residentGrowth(int program, float rate) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    hostkit::ModuleLibrary module(WRENFOLD_MODULE_PATH);
    const int64_t before = residentBytes();
    std::vector<std::unique_ptr<EffectInstance>> instances;
    for (int i = 0; i < instanceCount; ++i)
      instances.push_back(runningInstance(module, program, rate, 5.0));
    const int64_t growth = residentBytes() - before;
    const bool sent = write(channel[1], &growth, sizeof growth) == sizeof growth;
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  int64_t growth = -1;
  if (child < 0 || read(channel[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(channel[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return growth;
}

// Args: program, sample rate in Hz.
void residentMemoryPerInstance(benchmark::State& state) {
  const int program = static_cast<int>(state.range(0));
  const float rate = static_cast<float>(state.range(1));
  int64_t growth = -1;
  for (auto _ : state) growth = residentGrowth(program, rate);
  if (growth < 0) {
    state.SkipWithError("the measuring child failed");
    return;
  }
  state.counters["MB_per_instance"] = static_cast<double>(growth) / instanceCount / 1e6;
}
BENCHMARK(residentMemoryPerInstance)
    ->ArgNames({"program", "rate"})
    ->ArgsProduct({{0, 4}, {44100, 96000}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Times the entry call that creates an instance; closing it is left out.
void createInstance(benchmark::State& state) {
  hostkit::ModuleLibrary module(WRENFOLD_MODULE_PATH);
  for (auto _ : state) {
    std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
    state.PauseTiming();
    effect.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(createInstance)->Unit(benchmark::kMicrosecond);

// Times closing a running instance; creating and starting it is left out.
void closeInstance(benchmark::State& state) {
  hostkit::ModuleLibrary module(WRENFOLD_MODULE_PATH);
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<EffectInstance> effect = runningInstance(module, 0, 44100.0f, 0.0);
    state.ResumeTiming();
    effect.reset();
  }
}
BENCHMARK(closeInstance)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
