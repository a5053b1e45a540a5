#pragma once

#include <cstdint>

#include "gui/Control.h"

namespace wrenfold {

// A button whose value is 1 only while it is held down over it. Its background holds the released
// image at `imageOffset` and the pressed image `imageHeight` rows below. [UI thread]
class MomentaryButton : public Control {
 public:
  // Makes a button drawn from `background` at `imageOffset`, pressed image `imageHeight` below.
  MomentaryButton(const Rect& size, ControlListener* listener, int32_t tag, int32_t imageHeight,
                  Bitmap* background, const Point& imageOffset);

  // Clamps the value and draws the released or pressed image, then marks the button clean.
  void draw(DrawContext* context) override;
  // Tracks a plain left press until release (1 over the button, the entry value off it), or flips
  // once for a click with modifiers; always ends by reporting 0.
  void onMouseDown(DrawContext* context, Point& where) override;

 protected:
  Point imageOffset;
  int32_t imageHeight;

 private:
  // Reports the value to the listener, if any.
  void report(DrawContext* context);
};

}  // namespace wrenfold
