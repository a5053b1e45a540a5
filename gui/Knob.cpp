#include "gui/Knob.h"

#include <cmath>

#include "base/ModuleState.h"
#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/StepInput.h"

namespace wrenfold {

namespace {

constexpr float twoPi = 6.2831855f;
constexpr float defaultMinAngle = 3.9269907f;    // lower left, 225°
constexpr float defaultSweepAngle = -4.712389f;  // 270° clockwise
constexpr int32_t insetWithoutBitmap = 3;
constexpr float defaultFineDivisor = 1.5f;
constexpr float pixelsPerRange = 200.0f;
constexpr MouseButtons resetButtons = leftButton | controlKey;

int32_t insetForHandle(const Bitmap& bitmap) {
  return static_cast<int32_t>(static_cast<float>(bitmap.getWidth()) * 0.5f + 2.5f);
}

float wrapOnce(float angle) {
  if (angle < 0.0f) return angle + twoPi;
  if (angle > twoPi) return angle - twoPi;
  return angle;
}

}  // namespace

Knob::Knob(const Rect& size, ControlListener* controlListener, int32_t controlTag,
           Bitmap* backgroundBitmap, Bitmap* handle, const Point& offset)
    : Control(size, controlListener, controlTag, backgroundBitmap),
      imageOffset(offset),
      handleColor(whiteColor),
      handleShadowColor(greyColor),
      handleBitmap(handle),
      handleInset(insetWithoutBitmap),
      minAngle(defaultMinAngle),
      sweepAngle(defaultSweepAngle),
      halfDeadAngle(0.0f),
      angleScale(0.0f),
      angleOffset(0.0f),
      radius(static_cast<float>(size.right - size.left) * 0.5f),
      fineDivisor(defaultFineDivisor) {
  if (handleBitmap != nullptr) {
    handleBitmap->addRef();
    handleInset = insetForHandle(*handleBitmap);
  }
  setMinAngle(defaultMinAngle);
  setSweepAngle(defaultSweepAngle);
  fineDivisor = defaultFineDivisor;
}

Knob::~Knob() {
  if (handleBitmap != nullptr) handleBitmap->release();
}

void Knob::draw(DrawContext* context) {
  if (background != nullptr) {
    if (transparent) {
      background->drawTransparent(context, bounds, imageOffset);
    } else {
      background->draw(context, bounds, imageOffset);
    }
  }
  drawPointer(context);
  setDirty(false);
}

void Knob::drawPointer(DrawContext* context) {
  Point tip;
  pointerPosition(tip);
  if (handleBitmap != nullptr) {
    const int32_t width = handleBitmap->getWidth();
    const int32_t height = handleBitmap->getHeight();
    const int32_t left = bounds.left + tip.h - width / 2;
    const int32_t top = bounds.top + tip.v - height / 2;
    handleBitmap->drawTransparent(context, Rect(left, top, left + width, top + height),
                                  Point(0, 0));
    return;
  }
  const int32_t centerH = bounds.left + bounds.width() / 2;
  const int32_t centerV = bounds.top + bounds.height() / 2;
  context->setFrameColor(handleShadowColor);
  context->moveTo(Point(bounds.left + tip.h - 1, bounds.top + tip.v));
  context->lineTo(Point(centerH - 1, centerV));
  context->setFrameColor(handleColor);
  context->moveTo(Point(bounds.left + tip.h, bounds.top + tip.v - 1));
  context->lineTo(Point(centerH, centerV - 1));
}

void Knob::setMinAngle(float angle) {
  minAngle = angle;
  computeAngles();
  setDirty(true);
}

float Knob::getMinAngle() { return minAngle; }

void Knob::setSweepAngle(float angle) {
  sweepAngle = angle;
  computeAngles();
  setDirty(true);
}

float Knob::getSweepAngle() { return sweepAngle; }

void Knob::computeAngles() {
  halfDeadAngle = (twoPi - std::fabs(sweepAngle)) / 2.0f;
  angleScale = (maximum - minimum) / sweepAngle;
  angleOffset = minimum - angleScale * minAngle;
}

void Knob::pointerPosition(Point& where) {
  float angle = (value - angleOffset) / angleScale;
  // A value the host wrote as NaN or infinity would make the truncation below undefined.
  if (!std::isfinite(angle)) angle = minAngle;
  const float length = radius - static_cast<float>(handleInset);
  where.h = static_cast<int32_t>(radius + std::cos(angle) * length + 0.5f);
  where.v = static_cast<int32_t>(radius - std::sin(angle) * length + 0.5f);
}

float Knob::valueAtPoint(Point& where) {
  float alpha =
      std::atan2(radius - static_cast<float>(where.v), static_cast<float>(where.h) - radius);
  if (alpha < 0.0f) alpha += twoPi;
  alpha -= minAngle;

  if (sweepAngle < 0.0f) {
    // Measured counter-clockwise from the maximum's position.
    const float fromMaximum = alpha - sweepAngle;
    const float wrapped = wrapOnce(fromMaximum);
    const float limit = halfDeadAngle - sweepAngle;
    if (wrapped > limit) return maximum;
    if (wrapped > -sweepAngle) return minimum;
    float turned = fromMaximum;
    if (fromMaximum > limit) {
      turned -= twoPi;
    } else if (fromMaximum < -halfDeadAngle) {
      turned += twoPi;
    }
    return maximum + turned * angleScale;
  }

  const float wrapped = wrapOnce(alpha);
  const float limit = sweepAngle + halfDeadAngle;
  if (wrapped > limit) return minimum;
  if (wrapped > sweepAngle) return maximum;
  float turned = alpha;
  if (alpha > limit) {
    turned -= twoPi;
  } else if (alpha < -halfDeadAngle) {
    turned += twoPi;
  }
  return minimum + turned * angleScale;
}

void Knob::setHandleInset(int32_t inset) { handleInset = inset; }

void Knob::setHandleShadowColor(Color color) { handleShadowColor = color; }

void Knob::setHandleColor(Color color) { handleColor = color; }

void Knob::setHandleBitmap(Bitmap* bitmap) {
  // Taking the new reference first keeps a bitmap alive when it replaces itself.
  if (bitmap != nullptr) bitmap->addRef();
  if (handleBitmap != nullptr) handleBitmap->release();
  handleBitmap = bitmap;
  if (handleBitmap != nullptr) handleInset = insetForHandle(*handleBitmap);
}

void Knob::setFineDivisor(float divisor) { fineDivisor = divisor; }

float Knob::getFineDivisor() { return fineDivisor; }

float Knob::linearStep(MouseButtons buttons) const {
  const float pixels = (buttons & shiftKey) != 0 ? pixelsPerRange * fineDivisor : pixelsPerRange;
  return (maximum - minimum) / pixels;
}

bool Knob::dragsLinearly(MouseButtons buttons) const {
  const int32_t mode =
      parentFrame != nullptr ? parentFrame->currentKnobMode() : moduleState().knobMode;
  return (mode == linearKnobMode) != ((buttons & altKey) != 0);
}

float Knob::valueAtFramePoint(const Point& where) {
  Point local(where.h - bounds.left, where.v - bounds.top);
  return valueAtPoint(local);
}

void Knob::onMouseDown(DrawContext* context, Point& where) {
  if (!mouseEnabled || context == nullptr) return;
  MouseButtons lastButtons = context->readMouseButtons();
  if ((lastButtons & leftButton) == 0) return;

  if (lastButtons == resetButtons) {
    value = defaultValue;
    if (isDirty() && listener != nullptr) listener->valueChanged(context, this);
    return;
  }

  const bool linear = dragsLinearly(lastButtons);
  const Point first = where;
  float previous = 0.0f;
  float step = 0.0f;
  float base = value;
  if (linear) {
    step = linearStep(lastButtons);
  } else {
    previous = valueAtFramePoint(where);
  }

  beginEdit();
  if (parentFrame != nullptr) parentFrame->setFocusedView(this);
  Point lastWhere(-1, -1);
  const float halfRange = (maximum - minimum) / 2.0f;

  MouseButtons buttons;
  do {
    buttons = context->readMouseButtons();
    if (where != lastWhere) {
      lastWhere = where;
      if (linear) {
        const float delta = static_cast<float>((where.h - first.h) + (first.v - where.v));
        if (buttons != lastButtons) {
          // Re-basing keeps the value where it is when a modifier changes the speed.
          lastButtons = buttons;
          const float newStep = linearStep(buttons);
          base += (step - newStep) * delta;
          step = newStep;
        }
        value = delta * step + base;
        clampValue();
      } else {
        const float pointed = valueAtFramePoint(where);
        value = pointed;
        if (previous - pointed > halfRange) {
          value = maximum;
        } else if (pointed - previous > halfRange) {
          value = minimum;
        } else {
          previous = pointed;
        }
      }
      if (isDirty() && listener != nullptr) listener->valueChanged(context, this);
    }
    context->readMouseLocation(where);
    if (!idlePump()) break;
  } while ((buttons & leftButton) != 0);

  endEdit();
}

int32_t Knob::onKeyDown(KeyCode& key) { return stepByArrowKey(*this, key); }

bool Knob::onWheel(DrawContext* context, Point&, float distance) {
  return stepByWheel(*this, context, distance);
}

}  // namespace wrenfold
