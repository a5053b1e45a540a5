// A host that edits while it plays: one thread processes without pause, one writes parameters,
// selects programs, asks for texts and switches mains (never during processing, as hosts do), one
// idles an open editor and drags a slider in it. Built with the thread sanitizer, a data race
// ends the run with a report. Usage: wrenfold-race-stress [SECONDS]   (default 30)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "gui/platform/headless/HeadlessControl.h"
#include "hostkit/EffectCalls.h"
#include "hostkit/LibraryCaches.h"
#include "plugin/PluginEntry.h"

namespace {

using namespace wrenfold;
using hostkit::dispatch;
using Clock = std::chrono::steady_clock;

std::atomic<long> automations{0}, blocks{0}, writes{0}, idles{0};
Clock::time_point end;
// The host's own guard that keeps mains and rate changes out of processing calls.
std::mutex processing;

intptr_t WRENFOLD_CALL host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  if (opcode == audioMasterAutomate) ++automations;
  return opcode == audioMasterVersion ? 2400 : 0;
}

bool running() { return Clock::now() < end; }

void play(AEffect* effect) {
  float in[2][256], out[2][256];
  float* ins[2] = {in[0], in[1]};
  float* outs[2] = {out[0], out[1]};
  for (uint32_t noise = 1; running(); ++blocks) {
    for (auto& channel : in)
      for (float& sample : channel) {
        noise = noise * 1664525u + 1013904223u;
        sample = static_cast<float>(noise >> 8) / 8388608.0f - 1.0f;
      }
    std::lock_guard<std::mutex> hostGuard(processing);
    (blocks % 2 == 0 ? effect->processReplacing : effect->process)(effect, ins, outs, 256);
  }
}

void edit(AEffect* effect) {
  const float rates[] = {44100.0f, 48000.0f, 88200.0f, 96000.0f};
  char text[256];
  for (uint32_t step = 0; running(); ++step, ++writes) {
    const int32_t index = static_cast<int32_t>(step * 7 % 22) - 1;
    effect->setParameter(effect, index, static_cast<float>(step * 37 % 1001) / 1000.0f);
    effect->getParameter(effect, index);
    for (int32_t opcode :
         {effGetParamDisplay, effGetParamName, effGetParamLabel, effGetProgramName})
      dispatch(effect, opcode, index, 0, text);
    if (step % 50 == 0)
      dispatch(effect, effSetProgram, 0, (dispatch(effect, effGetProgram) + 1 + step % 3) % 5);
    if (step % 400 == 0) {
      std::lock_guard<std::mutex> hostGuard(processing);
      dispatch(effect, effMainsChanged, 0, 0);
      dispatch(effect, effSetSampleRate, 0, 0, nullptr, rates[step / 400 % 4]);
      dispatch(effect, effMainsChanged, 0, 1);
    }
  }
}

// Opens the editor, idles it as a host's GUI thread does, drags the left feedback slider now and
// then, and closes it every 300 idles.
void idle(AEffect* effect) {
  platform::Window* parent = headless::createHostWindow(Rect(0, 0, 400, 500));
  while (running()) {
    if (dispatch(effect, effEditOpen, 0, 0, parent) != 1) std::exit(3);
    for (int i = 0; i < 300 && running(); ++i, ++idles) {
      if (i % 60 == 0) {
        headless::setInput(headless::InputState{});
        for (int v = 149; v >= 60; v -= 8) headless::queueInput(leftButton, Point(150, v));
        headless::queueInput(0, Point(150, 60));
        headless::clickWindow(headless::childWindows(parent).front(), Point(150, 149));
      }
      dispatch(effect, effEditIdle);
    }
    dispatch(effect, effEditClose);
  }
  headless::destroyHostWindow(parent);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  AEffect* effect = createPluginInstance(host);
  if (effect == nullptr || seconds <= 0) return 2;
  dispatch(effect, effOpen);
  dispatch(effect, effMainsChanged, 0, 1);
  end = Clock::now() + std::chrono::seconds(seconds);
  std::thread threads[] = {std::thread(play, effect), std::thread(edit, effect),
                           std::thread(idle, effect)};
  for (std::thread& thread : threads) thread.join();
  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effClose);
  hostkit::releaseLibraryCaches();
  std::printf("%ld blocks, %ld writes, %ld idles, %ld automations in %d s\n", blocks.load(),
              writes.load(), idles.load(), automations.load(), seconds);
  // A run in which a thread never got going proves nothing.
  return blocks > 0 && writes > 0 && idles > 0 && automations > 0 ? 0 : 1;
}
