// Scripted input and the fake clock: each poll takes the next scripted state, sleeping advances
// the clock.
#include "gui/platform/headless/HeadlessState.h"

namespace wrenfold {

namespace headless {

void queueInput(const InputState& input) { state().inputQueue.push_back(input); }

void queueInput(uint32_t buttons, Point cursor) { queueInput(InputState{buttons, cursor}); }

void setInput(const InputState& input) {
  state().inputQueue.clear();
  state().input = input;
}

std::size_t queuedInputCount() { return state().inputQueue.size(); }

void setTickCount(uint32_t milliseconds) { state().ticks = milliseconds; }

uint64_t totalSleptMilliseconds() { return state().slept; }

}  // namespace headless

namespace platform {

using headless::recordEvent;
using headless::state;

uint32_t inputState() {
  headless::State& s = state();
  if (!s.inputQueue.empty()) {
    s.input = s.inputQueue.front();
    s.inputQueue.pop_front();
  }
  return s.input.buttons;
}

Point cursorScreenPosition() { return state().input.cursor; }

uint32_t tickCount() { return state().ticks; }

void sleepMilliseconds(uint32_t milliseconds) {
  state().ticks += milliseconds;
  state().slept += milliseconds;
  recordEvent("sleep " + std::to_string(milliseconds));
}

}  // namespace platform
}  // namespace wrenfold
