#include "gui/ToggleButton.h"

#include <cmath>

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"

namespace wrenfold {

ToggleButton::ToggleButton(const Rect& size, ControlListener* controlListener, int32_t controlTag,
                           Bitmap* backgroundBitmap)
    : Control(size, controlListener, controlTag, backgroundBitmap) {}

void ToggleButton::draw(DrawContext* context) {
  if (background != nullptr) {
    const Point origin(0, value == 0.0f ? 0 : background->getHeight() / 2);
    if (transparent) {
      background->drawTransparent(context, bounds, origin);
    } else {
      background->draw(context, bounds, origin);
    }
  }
  setDirty(false);
}

void ToggleButton::onMouseDown(DrawContext* context, Point&) {
  if (!mouseEnabled || context == nullptr) return;
  if ((context->readMouseButtons() & leftButton) == 0) return;
  // The value truncated toward zero decides, so 0.5 counts as off; this form is also safe for
  // values no integer can hold.
  const bool on = std::fabs(value) >= 1.0f;
  value = on ? 0.0f : 1.0f;
  if (!idlePump()) return;
  if (listener != nullptr) listener->valueChanged(context, this);
}

}  // namespace wrenfold
