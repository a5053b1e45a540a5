// A host that edits while it plays: one thread processes without pause, one writes parameters,
// selects programs, asks for texts and switches mains (never during a processing call, as hosts
// do), and one opens an editor, idles it and drags a slider in it. Built with the thread
// sanitizer, any data race ends the run with a report.
// Usage: wrenfold-race-stress [SECONDS]   (default 30)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "base/HostInterface.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "plugin/PluginEntry.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int32_t blockFrames = 256;
constexpr float commonRates[] = {44100.0f, 48000.0f, 88200.0f, 96000.0f};

std::atomic<int> automations{0};

intptr_t WRENFOLD_CALL host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterAutomate) ++automations;
  return 0;
}

intptr_t dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// What the three threads share: the effect, the deadline and the host's own guard, which keeps
// mains and rate changes out of processing calls.
struct Session {
  Session(AEffect* effect, int seconds)
      : effect(effect), end(Clock::now() + std::chrono::seconds(seconds)) {}
  AEffect* effect;
  Clock::time_point end;
  std::mutex processing;
  std::atomic<long> blocks{0};
  std::atomic<long> writes{0};
  std::atomic<long> idles{0};
  bool running() const { return Clock::now() < end; }
};

void processWithoutPause(Session& session) {
  std::vector<float> in[2], out[2];
  std::minstd_rand noise(1);
  for (auto* channels : {in, out})
    for (int c = 0; c < 2; ++c) channels[c].assign(blockFrames, 0.0f);
  float* ins[2] = {in[0].data(), in[1].data()};
  float* outs[2] = {out[0].data(), out[1].data()};
  while (session.running()) {
    for (int c = 0; c < 2; ++c)
      for (float& sample : in[c]) sample = static_cast<float>(noise() % 2001) / 1000.0f - 1.0f;
    std::lock_guard<std::mutex> hostGuard(session.processing);
    if (session.blocks++ % 2 == 0)
      session.effect->processReplacing(session.effect, ins, outs, blockFrames);
    else
      session.effect->process(session.effect, ins, outs, blockFrames);
  }
}

void writeAndAsk(Session& session) {
  AEffect* effect = session.effect;
  std::minstd_rand random(2);
  char text[256];
  for (long step = 0; session.running(); ++step) {
    const int32_t index = static_cast<int32_t>(random() % 22) - 1;
    const float value = static_cast<float>(random() % 1001) / 1000.0f;
    effect->setParameter(effect, index, value);
    effect->getParameter(effect, index);
    for (int32_t opcode : {effGetParamDisplay, effGetParamName, effGetParamLabel})
      dispatch(effect, opcode, index, 0, text);
    dispatch(effect, effGetProgramName, 0, 0, text);
    if (step % 50 == 0) dispatch(effect, effSetProgram, 0, dispatch(effect, effGetProgram) + 1 + step % 3);
    if (step % 97 == 0) dispatch(effect, effSetProgram, 0, step % 5);
    if (step % 400 == 0) {
      std::lock_guard<std::mutex> hostGuard(session.processing);
      dispatch(effect, effMainsChanged, 0, 0);
      dispatch(effect, effSetSampleRate, 0, 0, nullptr, commonRates[(step / 400) % 4]);
      dispatch(effect, effMainsChanged, 0, 1);
    }
    ++session.writes;
  }
}

// Opens the editor, idles it as a host's GUI thread does and drags the left feedback slider
// now and then; closes and reopens it every few hundred idles.
void idleEditor(Session& session) {
  AEffect* effect = session.effect;
  using namespace wrenfold;
  platform::Window* parent = headless::createHostWindow(Rect(0, 0, 400, 500));
  for (long round = 0; session.running(); ++round) {
    if (dispatch(effect, effEditOpen, 0, 0, parent) != 1) std::exit(3);
    for (int i = 0; i < 300 && session.running(); ++i) {
      if (i % 60 == 0) {
        headless::setInput(headless::InputState{});
        for (int v = 149; v >= 60; v -= 8) headless::queueInput(platform::inputLeftButton, Point(150, v));
        headless::queueInput(0, Point(150, 60));
        headless::clickWindow(headless::childWindows(parent).front(), Point(150, 149));
      }
      dispatch(effect, effEditIdle);
      ++session.idles;
    }
    dispatch(effect, effEditClose);
  }
  headless::destroyHostWindow(parent);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  AEffect* effect = wrenfold::createPluginInstance(host);
  if (effect == nullptr || seconds <= 0) return 2;
  dispatch(effect, effOpen);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  dispatch(effect, effMainsChanged, 0, 1);

  Session session(effect, seconds);
  std::thread audio(processWithoutPause, std::ref(session));
  std::thread writer(writeAndAsk, std::ref(session));
  std::thread gui(idleEditor, std::ref(session));
  for (std::thread* thread : {&audio, &writer, &gui}) thread->join();

  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effClose);
  wrenfold::headless::releaseLibraryCaches();
  std::printf("%ld blocks, %ld writes, %ld idles, %d automations in %d s\n", session.blocks.load(),
              session.writes.load(), session.idles.load(), automations.load(), seconds);
  // A run in which a thread never got going proves nothing.
  return session.blocks > 0 && session.writes > 0 && session.idles > 0 && automations > 0 ? 0 : 1;
}
