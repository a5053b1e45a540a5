#pragma once

#include <cstdint>

#include "gui/Slider.h"

namespace wrenfold {

// A slider marked vertical: the same slider with styleVertical added to its style. [UI thread]
class VerticalSlider : public Slider {
 public:
  // Makes the slider with `style` plus styleVertical; the arguments are those of Slider.
  VerticalSlider(const Rect& size, ControlListener* listener, int32_t tag, int32_t minPos,
                 int32_t maxPos, Bitmap* handleBitmap, Bitmap* background, const Point& imageOffset,
                 int32_t style);
};

}  // namespace wrenfold
