#include "gui/Control.h"

#include "gui/Bitmap.h"
#include "gui/EditorLink.h"
#include "gui/Frame.h"

namespace wrenfold {

Control::Control(const Rect& size, ControlListener* controlListener, int32_t controlTag,
                 Bitmap* backgroundBitmap)
    : View(size),
      listener(controlListener),
      tag(controlTag),
      oldValue(1.0f),
      defaultValue(0.5f),
      value(0.0f),
      minimum(0.0f),
      maximum(1.0f),
      wheelStep(0.1f),
      background(backgroundBitmap),
      backgroundOrigin(0, 0) {
  transparent = false;
  mouseEnabled = true;
  if (background != nullptr) background->addRef();
}

Control::~Control() {
  if (background != nullptr) background->release();
}

bool Control::isDirty() { return oldValue != value || dirty; }

void Control::setDirty(bool state) {
  dirty = state;
  if (state) {
    // Any value other than the current one will do; -1 itself needs another.
    oldValue = value == -1.0f ? 0.0f : -1.0f;
  } else {
    oldValue = value;
  }
}

bool Control::idlePump() {
  if (parentFrame == nullptr) return true;
  EditorLink* editor = parentFrame->getEditor();
  return editor == nullptr || editor->pumpWhileTracking();
}

void Control::setValue(float newValue) { value = newValue; }

float Control::getValue() { return value; }

void Control::setMin(float newMinimum) { minimum = newMinimum; }

float Control::getMin() { return minimum; }

void Control::setMax(float newMaximum) { maximum = newMaximum; }

float Control::getMax() { return maximum; }

void Control::setOldValue(float newOldValue) { oldValue = newOldValue; }

float Control::getOldValue() { return oldValue; }

void Control::setDefaultValue(float newDefault) { defaultValue = newDefault; }

float Control::getDefaultValue() { return defaultValue; }

void Control::setTag(int32_t newTag) { tag = newTag; }

void Control::setBackground(Bitmap* bitmap) {
  // Taking the new reference first keeps a bitmap alive when it replaces itself.
  if (bitmap != nullptr) bitmap->addRef();
  if (background != nullptr) background->release();
  background = bitmap;
}

Bitmap* Control::getBackground() { return background; }

void Control::setBackgroundOrigin(Point& origin) { backgroundOrigin = origin; }

void Control::alignBackgroundToPosition() { backgroundOrigin = Point(bounds.left, bounds.top); }

void Control::setWheelStep(float step) { wheelStep = step; }

float Control::getWheelStep() { return wheelStep; }

void Control::clampValue() {
  if (value > maximum) {
    value = maximum;
  } else if (value < minimum) {
    value = minimum;
  }
}

void Control::beginEdit() {
  if (parentFrame != nullptr) parentFrame->beginParameterEdit(tag);
}

void Control::endEdit() {
  if (parentFrame != nullptr) parentFrame->endParameterEdit(tag);
}

}  // namespace wrenfold
