// Cost of drawing each kind of control on the headless back end, and of a tracking step.
#include <benchmark/benchmark.h>

#include "editor/Skin.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Knob.h"
#include "gui/OffscreenContext.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"
#include "gui/VerticalSlider.h"
#include "gui/platform/headless/HeadlessControl.h"

namespace wrenfold {
namespace {

// A window-sized surface with a drawing context on it.
struct Canvas {
  Canvas()
      : surface(headless::createSurface(skin::editorWidth, skin::editorHeight, blackColor)),
        context(nullptr, surface, nullptr) {}
  ~Canvas() { platform::destroySurface(surface); }
  platform::Surface* surface;
  DrawContext context;
};

void drawRepeatedly(benchmark::State& state, Canvas& canvas, Control& control) {
  float value = 0.0f;
  for (auto _ : state) {
    value = value >= 1.0f ? 0.0f : value + 0.01f;
    control.setValue(value);
    control.draw(&canvas.context);
  }
}

void BM_KnobDraw(benchmark::State& state) {
  Canvas canvas;
  Bitmap* body = new Bitmap(130);
  Bitmap* handle = new Bitmap(131);
  Knob* knob = new Knob(Rect(25, 55, 55, 85), nullptr, 6, body, handle, Point(0, 0));
  knob->setHandleInset(10);
  drawRepeatedly(state, canvas, *knob);
  knob->release();
  body->release();
  handle->release();
}
BENCHMARK(BM_KnobDraw);

void BM_SliderDraw(benchmark::State& state) {
  Canvas canvas;
  Bitmap* track = new Bitmap(132);
  Bitmap* handle = new Bitmap(133);
  VerticalSlider* slider = new VerticalSlider(Rect(80, 60, 100, 240), nullptr, 14, 60, 230, handle,
                                              track, Point(0, 0), styleMinAtBottom);
  // Stands in for the frame: the slider draws only while it has its offscreen.
  slider->onAttached(nullptr);
  drawRepeatedly(state, canvas, *slider);
  slider->onRemoved(nullptr);
  slider->release();
  track->release();
  handle->release();
}
BENCHMARK(BM_SliderDraw);

void BM_ToggleDraw(benchmark::State& state) {
  Canvas canvas;
  Bitmap* face = new Bitmap(134);
  ToggleButton* button = new ToggleButton(Rect(25, 300, 45, 327), nullptr, 0, face);
  drawRepeatedly(state, canvas, *button);
  button->release();
  face->release();
}
BENCHMARK(BM_ToggleDraw);

void BM_ValueDisplayDraw(benchmark::State& state) {
  Canvas canvas;
  ValueDisplay* display = new ValueDisplay(Rect(15, 40, 65, 50), nullptr, styleHorizontal);
  display->setFont(6);
  drawRepeatedly(state, canvas, *display);
  display->release();
}
BENCHMARK(BM_ValueDisplayDraw);

void BM_KnobValueAtPoint(benchmark::State& state) {
  Knob* knob = new Knob(Rect(0, 0, 30, 30), nullptr, 0, nullptr, nullptr, Point(0, 0));
  int32_t step = 0;
  for (auto _ : state) {
    Point where(step % 30, (step / 30) % 30);
    benchmark::DoNotOptimize(knob->valueAtPoint(where));
    ++step;
  }
  knob->release();
}
BENCHMARK(BM_KnobValueAtPoint);

}  // namespace
}  // namespace wrenfold

BENCHMARK_MAIN();
