// Cost of the frame's redraw passes on the headless back end: the full paint of an editor-sized
// window with its background, and idle passes with nothing or everything dirty.
#include <benchmark/benchmark.h>

#include "editor/Skin.h"
#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/View.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"

namespace wrenfold {
namespace {

constexpr int viewCount = 37;

// A frame of the editor's size inside a host window, with a background and 37 small views.
struct EditorSizedFrame {
  EditorSizedFrame()
      : host(headless::createHostWindow(Rect(0, 0, skin::editorWidth, skin::editorHeight))),
        background(new Bitmap(128)),
        frame(new Frame(Rect(0, 0, skin::editorWidth, skin::editorHeight), host, nullptr)) {
    frame->setBackground(background);
    for (int i = 0; i < viewCount; ++i) {
      const int32_t left = (i % 7) * 50;
      const int32_t top = (i / 7) * 80;
      frame->addView(new View(Rect(left, top, left + 30, top + 30)));
    }
    while (platform::dispatchOnePendingPaint()) {
    }
  }
  ~EditorSizedFrame() {
    delete frame;
    background->release();
    headless::destroyHostWindow(host);
  }

  platform::Window* host;
  Bitmap* background;
  Frame* frame;
};

void BM_FullPaint(benchmark::State& state) {
  EditorSizedFrame editor;
  for (auto _ : state) {
    platform::invalidateWindow(editor.frame->getWindow(), nullptr);
    platform::dispatchOnePendingPaint();
  }
}
BENCHMARK(BM_FullPaint);

void BM_IdlePassNothingDirty(benchmark::State& state) {
  EditorSizedFrame editor;
  for (auto _ : state) editor.frame->redrawDirtyViews();
}
BENCHMARK(BM_IdlePassNothingDirty);

void BM_IdlePassAllDirty(benchmark::State& state) {
  EditorSizedFrame editor;
  for (auto _ : state) {
    for (int i = 0; i < viewCount; ++i) editor.frame->getView(i)->setDirty(true);
    editor.frame->redrawDirtyViews();
  }
}
BENCHMARK(BM_IdlePassAllDirty);

}  // namespace
}  // namespace wrenfold

BENCHMARK_MAIN();
