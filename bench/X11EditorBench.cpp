// Cost of the editor on the X11 back end, in a real X server: opening it at scales 1, 1.5, 2 and 3
// until it has been drawn (with its skin made for the scale, as no other editor holds it) and the
// memory it then holds, the host's idle with nothing to do (no round trip to the server), a full
// repaint of the window (rasterise and copy to X), and one step of a slider drag (two pointer
// queries, the parameter write reported to the host, the slider's redraw and its copy to X).
// Run it on a display: tests/x11/run-under-xvfb.sh build/bench/wrenfold-x11-bench
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

#include "editor/DelayEditor.h"
#include "gui/Control.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/platform/cairo/SharedBitmapPixels.h"
#include "gui/platform/platform.h"
#include "hostkit/Host.h"
#include "hostkit/x11/EditorWindow.h"
#include "plugin/DelayPlugin.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

constexpr int32_t feedbackLeftTag = 10;

// The host's connection, opened once for the process as a host does.
xcb_connection_t* hostConnection() {
  static xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  return connection;
}

// One plug-in instance with its editor open in a host window.
struct OpenEditor {
  OpenEditor()
      : connection(hostConnection()), effect(createPluginInstance(hostkit::Host::callback())) {
    window = new EditorWindow(connection, effect, 0, 0);
    window->openEditor();
    for (int i = 0; i < 20; ++i) {
      sync();
      window->idle();
    }
    editor = static_cast<DelayEditor*>(
        static_cast<DelayPlugin*>(EffectBase::fromRecord(effect))->attachedEditor());
  }
  ~OpenEditor() {
    delete window;
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  // Waits until the server has handled the host connection's requests.
  void sync() {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  }

  xcb_connection_t* connection;
  AEffect* effect;
  EditorWindow* window = nullptr;
  DelayEditor* editor = nullptr;
};

// The argument is the user's scale in quarters; 0 for none, so that the desktop's (96 dpi) counts.
void BM_X11OpenAndFirstPaint(benchmark::State& state) {
  if (state.range(0) > 0) {
    setenv("WRENFOLD_EDITOR_SCALE", std::to_string(static_cast<double>(state.range(0)) / 4).c_str(),
           1);
  }
  double skinKiB = 0;
  for (auto _ : state) {
    OpenEditor open;
    skinKiB = static_cast<double>(SharedBitmapPixels::heldBytes()) / 1024;
  }
  state.counters["skin_KiB"] = skinKiB;
  unsetenv("WRENFOLD_EDITOR_SCALE");
}
BENCHMARK(BM_X11OpenAndFirstPaint)
    ->Arg(0)
    ->Arg(4)
    ->Arg(6)
    ->Arg(8)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);

void BM_X11IdleNothingDirty(benchmark::State& state) {
  OpenEditor open;
  for (auto _ : state) open.window->idle();
}
BENCHMARK(BM_X11IdleNothingDirty);

void BM_X11FullRepaint(benchmark::State& state) {
  OpenEditor open;
  platform::Window* window = open.editor->openFrame()->getWindow();
  for (auto _ : state) {
    open.editor->redraw(nullptr);
    // A round trip on the module's connection: the server has taken the whole image.
    benchmark::DoNotOptimize(platform::windowScreenRect(window));
  }
}
BENCHMARK(BM_X11FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_X11DragStep(benchmark::State& state) {
  OpenEditor open;
  Frame* frame = open.editor->openFrame();
  Control* slider = open.editor->controlFor(feedbackLeftTag);
  platform::Window* window = frame->getWindow();
  platform::Surface* surface = platform::acquireWindowSurface(window);
  DrawContext context(frame, surface, window);
  float value = 0.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(context.readMouseButtons());
    Point where;
    context.readMouseLocation(where);
    value = value >= 1.0f ? 0.0f : value + 0.01f;
    slider->setValue(value);
    slider->getListener()->valueChanged(&context, slider);
    // The next step's button read shows what this one drew.
    slider->draw(&context);
    hostkit::Host::shared().calls().clear();
  }
  platform::releaseWindowSurface(window, surface);
}
BENCHMARK(BM_X11DragStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wrenfold

BENCHMARK_MAIN();
