#include "gui/StepInput.h"

#include "gui/Control.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"

namespace wrenfold {

namespace {

// A context that draws nothing still answers the input queries, which the wheel needs when the
// host turns it without a window to draw into.
MouseButtons currentButtons(Control& control, DrawContext* context) {
  if (context != nullptr) return context->readMouseButtons();
  DrawContext probe(control.frame(), nullptr, nullptr);
  return probe.readMouseButtons();
}

void reportIfDirty(Control& control, DrawContext* context) {
  if (control.isDirty() && control.getListener() != nullptr) {
    control.getListener()->valueChanged(context, &control);
  }
}

int32_t arrowDirection(uint8_t virtualKey) {
  switch (virtualKey) {
    case virtualKeyLeft:
    case virtualKeyDown:
      return -1;
    case virtualKeyUp:
    case virtualKeyRight:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

bool stepByWheel(Control& control, DrawContext* context, float distance) {
  if (!control.isMouseEnabled()) return false;
  float step = distance * control.getWheelStep();
  if ((currentButtons(control, context) & shiftKey) != 0) step *= fineStepFactor;
  control.setValue(control.getValue() + step);
  control.clampValue();
  reportIfDirty(control, context);
  return true;
}

int32_t stepByArrowKey(Control& control, const KeyCode& key) {
  const int32_t direction = arrowDirection(key.virt);
  if (direction == 0) return -1;
  float step = static_cast<float>(direction) * control.getWheelStep();
  if ((key.modifier & keyModifierShift) != 0) step *= fineStepFactor;
  control.setValue(control.getValue() + step);
  control.clampValue();
  reportIfDirty(control, nullptr);
  return 1;
}

}  // namespace wrenfold
