// Cost of the plug-in's editor as a host sees it, on the headless back end: opening it and drawing
// it the first time, an idle pass with nothing to redraw, and an idle pass after a program change.
#include <benchmark/benchmark.h>

#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "hostkit/Host.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

// One plug-in instance with a host window to open its editor in.
struct HostedEditor {
  HostedEditor()
      : host(headless::createHostWindow(Rect(0, 0, 400, 480))),
        effect(createPluginInstance(hostkit::Host::callback())) {}
  ~HostedEditor() {
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    headless::destroyHostWindow(host);
  }
  intptr_t dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
  }
  void openAndPaint() {
    dispatch(effEditOpen, 0, host);
    while (platform::dispatchOnePendingPaint()) {
    }
    dispatch(effEditIdle);
  }

  platform::Window* host;
  AEffect* effect;
};

void BM_OpenAndFirstDraw(benchmark::State& state) {
  HostedEditor editor;
  for (auto _ : state) {
    editor.openAndPaint();
    state.PauseTiming();
    editor.dispatch(effEditClose);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenAndFirstDraw)->Unit(benchmark::kMicrosecond);

void BM_IdleNothingDirty(benchmark::State& state) {
  HostedEditor editor;
  editor.openAndPaint();
  for (auto _ : state) editor.dispatch(effEditIdle);
}
BENCHMARK(BM_IdleNothingDirty);

void BM_IdleAfterProgramChange(benchmark::State& state) {
  HostedEditor editor;
  editor.openAndPaint();
  int program = 0;
  for (auto _ : state) {
    state.PauseTiming();
    program = (program + 1) % 5;
    editor.dispatch(effSetProgram, program);
    state.ResumeTiming();
    editor.dispatch(effEditIdle);
  }
}
BENCHMARK(BM_IdleAfterProgramChange)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wrenfold

BENCHMARK_MAIN();
