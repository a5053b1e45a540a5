#include "gui/VerticalSlider.h"

namespace wrenfold {

VerticalSlider::VerticalSlider(const Rect& size, ControlListener* controlListener,
                               int32_t controlTag, int32_t minPos, int32_t maxPos, Bitmap* handle,
                               Bitmap* backgroundBitmap, const Point& offset, int32_t styleBits)
    : Slider(size, controlListener, controlTag, minPos, maxPos, handle, backgroundBitmap, offset,
             styleBits | styleVertical) {}

}  // namespace wrenfold
