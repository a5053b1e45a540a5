#include "gui/MomentaryButton.h"

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"

namespace wrenfold {

MomentaryButton::MomentaryButton(const Rect& size, ControlListener* controlListener,
                                 int32_t controlTag, int32_t height, Bitmap* backgroundBitmap,
                                 const Point& offset)
    : Control(size, controlListener, controlTag, backgroundBitmap),
      imageOffset(offset),
      imageHeight(height) {}

void MomentaryButton::draw(DrawContext* context) {
  clampValue();
  Point origin = imageOffset;
  if (value != 0.0f) origin.v += imageHeight;
  if (background != nullptr) {
    if (transparent) {
      background->drawTransparent(context, bounds, origin);
    } else {
      background->draw(context, bounds, origin);
    }
  }
  setDirty(false);
}

void MomentaryButton::report(DrawContext* context) {
  if (listener != nullptr) listener->valueChanged(context, this);
}

void MomentaryButton::onMouseDown(DrawContext* context, Point& where) {
  if (!mouseEnabled || context == nullptr) return;
  const MouseButtons buttons = context->readMouseButtons();
  if ((buttons & leftButton) == 0) return;
  const float entry = value;

  if (buttons == leftButton) {
    const float pressed = entry == 0.0f ? 1.0f : 0.0f;
    beginEdit();
    do {
      value = bounds.contains(where) ? pressed : entry;
      if (isDirty()) report(context);
      context->readMouseLocation(where);
      if (!idlePump()) break;
    } while (context->readMouseButtons() == leftButton);
    endEdit();
  } else {
    value = value == 0.0f ? 1.0f : 0.0f;
    report(context);
  }

  value = 0.0f;
  report(context);
}

}  // namespace wrenfold
