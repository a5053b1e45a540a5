#pragma once

#include <cstdint>

#include "gui/Control.h"

namespace wrenfold {

// A two-state switch. Its background holds two images of the button's size stacked vertically:
// value 0 on top, any other value below. A click flips it between 0 and 1. [UI thread]
class ToggleButton : public Control {
 public:
  // Makes a toggle drawn from `background`.
  ToggleButton(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background);

  // Draws the image of the current state, then marks the button clean.
  void draw(DrawContext* context) override;
  // Flips the value on a left click (values below 1 in magnitude become 1, others 0) and reports
  // it.
  void onMouseDown(DrawContext* context, Point& where) override;
};

}  // namespace wrenfold
