#pragma once

#include <cstdint>

namespace wrenfold {

// The knob mode in which knobs follow straight mouse movement instead of circling.
constexpr int32_t linearKnobMode = 2;

// What the module shares among all its effects and editors, kept in one place. Nothing guards it:
// the knob mode is touched on the UI thread only, and the allocation flag once per instance. The
// window system's module-wide state lives in its back end.
struct ModuleState {
  int32_t knobMode = 0;                 // the host's knob mode; every knob reads it
  bool editorAllocationFailed = false;  // set when an editor could not be allocated; stays set
};

// Returns the module's one state record. [UI thread]
ModuleState& moduleState();

// Puts the record back to its initial values, so one test's state does not leak into the next.
// [tests, before any effect exists]
void resetModuleStateForTesting();

}  // namespace wrenfold
