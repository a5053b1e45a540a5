#pragma once

#include <cstdint>

#include "base/KeyCode.h"

namespace wrenfold {

class Control;
class DrawContext;

// Virtual keys of the host's key records that step a continuous control.
enum : uint8_t {
  virtualKeyLeft = 11,
  virtualKeyUp = 12,
  virtualKeyRight = 13,
  virtualKeyDown = 14
};
// Modifier bit of the host's key records for the shift key.
constexpr uint8_t keyModifierShift = 1;
// Fraction of a step taken while shift is held.
constexpr float fineStepFactor = 0.1f;

// Moves the control by `distance` wheel steps (a tenth with shift), clamps it and reports a change;
// answers false when the control ignores the mouse.
bool stepByWheel(Control& control, DrawContext* context, float distance);
// Moves the control by one wheel step per arrow key (a tenth with shift), clamps it and reports a
// change with no context; answers 1, or −1 for any other key.
int32_t stepByArrowKey(Control& control, const KeyCode& key);

}  // namespace wrenfold
