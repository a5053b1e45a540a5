// The headless back end's state and its reset between tests.
#include "gui/platform/headless/HeadlessState.h"

namespace wrenfold {
namespace headless {

State& state() {
  static State instance;
  return instance;
}

void recordEvent(const std::string& event) { state().events.push_back(event); }

void reset() {
  State& s = state();
  s.inputQueue.clear();
  s.input = InputState();
  s.ticks = 0;
  s.slept = 0;
  s.events.clear();
  s.desktopScale = 1.0f;
  recordDrawing(false);
  s.drawing.clear();
}

}  // namespace headless
}  // namespace wrenfold
