#include "gui/Slider.h"

#include <new>

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/OffscreenContext.h"
#include "gui/StepInput.h"

namespace wrenfold {

namespace {

constexpr float defaultFineDivisor = 10.0f;
constexpr MouseButtons resetButtons = leftButton | controlKey;
constexpr int32_t drawnMinAtStart = styleMinAtLeft | styleMinAtTop;
constexpr int32_t mouseMinAtEnd = styleMinAtRight | styleMinAtBottom;
// Far beyond any window; keeps values the host wrote out of range from overflowing on truncation.
constexpr float pixelLimit = 1.0e6f;

int32_t truncatePixels(float pixels) {
  if (pixels != pixels) return 0;
  if (pixels > pixelLimit) return static_cast<int32_t>(pixelLimit);
  if (pixels < -pixelLimit) return -static_cast<int32_t>(pixelLimit);
  return static_cast<int32_t>(pixels);
}

}  // namespace

Slider::Slider(const Rect& size, ControlListener* controlListener, int32_t controlTag,
               int32_t minPos, int32_t maxPos, Bitmap* handle, Bitmap* backgroundBitmap,
               const Point& offset, int32_t styleBits)
    : Control(size, controlListener, controlTag, backgroundBitmap),
      imageOffset(offset),
      handleOffset(0, 0),
      handleBitmap(handle),
      offscreen(nullptr),
      handleWidth(1),
      handleHeight(1),
      handleRange(maxPos - minPos),
      style(styleBits),
      minPosition(0),
      maxPosition(0),
      startPosition(0),
      controlWidth(size.width()),
      controlHeight(size.height()),
      fineDivisor(defaultFineDivisor),
      handleTransparent(true),
      jumpToClick(true) {
  if (handleBitmap != nullptr) {
    handleBitmap->addRef();
    handleWidth = handleBitmap->getWidth();
    handleHeight = handleBitmap->getHeight();
  }
  startPosition = isHorizontal() ? minPos - size.left : minPos - size.top;
  Point origin(0, 0);
  setHandleOffset(origin);
}

Slider::~Slider() {
  if (handleBitmap != nullptr) handleBitmap->release();
  // A slider deleted while still attached would otherwise leak its surface.
  destroyOffscreen();
}

bool Slider::onAttached(View* parent) {
  destroyOffscreen();
  Frame* owner = parentFrame != nullptr ? parentFrame : dynamic_cast<Frame*>(parent);
  offscreen = new (std::nothrow) OffscreenContext(owner, controlWidth, controlHeight, blackColor);
  return true;
}

bool Slider::onRemoved(View*) {
  destroyOffscreen();
  return true;
}

void Slider::destroyOffscreen() {
  delete offscreen;
  offscreen = nullptr;
}

float Slider::drawnFraction() const {
  return (style & drawnMinAtStart) != 0 ? value : 1.0f - value;
}

Rect Slider::unlimitedHandleRect() const {
  const int32_t travelled = truncatePixels(drawnFraction() * static_cast<float>(handleRange));
  if (isHorizontal()) {
    const int32_t left = handleOffset.h + travelled;
    return Rect(left, handleOffset.v, left + handleWidth, handleOffset.v + handleHeight);
  }
  const int32_t top = handleOffset.v + travelled;
  return Rect(handleOffset.h, top, handleOffset.h + handleWidth, top + handleHeight);
}

Rect Slider::handleRect() const {
  Rect handle = unlimitedHandleRect();
  if (isHorizontal()) {
    if (handle.left < minPosition) handle.left = minPosition;
    handle.right = handle.left + handleWidth;
    if (handle.right > maxPosition) handle.right = maxPosition;
  } else {
    if (handle.top < minPosition) handle.top = minPosition;
    handle.bottom = handle.top + handleHeight;
    if (handle.bottom > maxPosition) handle.bottom = maxPosition;
  }
  return handle;
}

void Slider::draw(DrawContext* context) {
  if (offscreen == nullptr) return;
  const Rect whole(0, 0, controlWidth, controlHeight);
  if (background != nullptr) {
    if (transparent) {
      background->drawTransparent(offscreen, whole, imageOffset);
    } else {
      background->draw(offscreen, whole, imageOffset);
    }
  }
  if (handleBitmap != nullptr) {
    const Rect handle = handleRect();
    if (handleTransparent) {
      handleBitmap->drawTransparent(offscreen, handle, Point(0, 0));
    } else {
      handleBitmap->draw(offscreen, handle, Point(0, 0));
    }
  }
  offscreen->copyTo(context, bounds, Point(0, 0));
  setDirty(false);
}

bool Slider::dragOrigin(const Point& where, int32_t& origin) const {
  const bool horizontal = isHorizontal();
  origin = horizontal ? bounds.left + handleOffset.h : bounds.top + handleOffset.v;
  if (jumpToClick) {
    origin += (horizontal ? handleWidth : handleHeight) / 2 - 1;
    return true;
  }
  const Rect handle = unlimitedHandleRect().offsetBy(bounds.left, bounds.top);
  if (!handle.contains(where)) return false;
  // The handle keeps the point where it was gripped.
  origin += horizontal ? where.h - handle.left : where.v - handle.top;
  return true;
}

float Slider::valueAtPosition(const Point& where, int32_t origin) const {
  const int32_t position = isHorizontal() ? where.h : where.v;
  const float fraction = static_cast<float>(position - origin) / static_cast<float>(handleRange);
  return (style & mouseMinAtEnd) != 0 ? 1.0f - fraction : fraction;
}

void Slider::onMouseDown(DrawContext* context, Point& where) {
  if (!mouseEnabled || context == nullptr) return;
  MouseButtons lastButtons = context->readMouseButtons();
  if (lastButtons == resetButtons) {
    value = defaultValue;
    if (isDirty() && listener != nullptr) listener->valueChanged(context, this);
    return;
  }
  if ((lastButtons & leftButton) == 0) return;
  // Without travel every position would divide by zero; such a slider only takes the reset.
  if (handleRange == 0) return;

  int32_t origin = 0;
  if (!dragOrigin(where, origin)) return;

  float old = value;
  beginEdit();
  if (parentFrame != nullptr) parentFrame->setFocusedView(this);

  MouseButtons buttons;
  while (((buttons = context->readMouseButtons()) & leftButton) != 0) {
    const bool fine = (buttons & shiftKey) != 0;
    if (buttons != lastButtons && fine) {
      old = value;
      lastButtons = buttons;
    } else if (!fine) {
      old = value;
    }
    value = valueAtPosition(where, origin);
    if (fine) value = old + (value - old) / fineDivisor;
    clampValue();
    if (isDirty() && listener != nullptr) listener->valueChanged(context, this);
    context->readMouseLocation(where);
    if (!idlePump()) break;
  }

  endEdit();
}

int32_t Slider::onKeyDown(KeyCode& key) { return stepByArrowKey(*this, key); }

bool Slider::onWheel(DrawContext* context, Point&, float distance) {
  return stepByWheel(*this, context, distance);
}

void Slider::setHandleTransparent(bool state) { handleTransparent = state; }

void Slider::setJumpToClick(bool state) { jumpToClick = state; }

bool Slider::getJumpToClick() { return jumpToClick; }

void Slider::setHandleOffset(Point& offset) {
  handleOffset = offset;
  if (isHorizontal()) {
    minPosition = offset.h + startPosition;
    maxPosition = minPosition + handleRange + handleWidth;
  } else {
    minPosition = offset.v + startPosition;
    maxPosition = minPosition + handleRange + handleHeight;
  }
}

void Slider::setHandleBitmap(Bitmap* bitmap) {
  if (bitmap != nullptr) bitmap->addRef();
  if (handleBitmap != nullptr) handleBitmap->release();
  handleBitmap = bitmap;
  if (handleBitmap != nullptr) {
    handleWidth = handleBitmap->getWidth();
    handleHeight = handleBitmap->getHeight();
  }
}

Bitmap* Slider::getHandleBitmap() { return handleBitmap; }

void Slider::setFineDivisor(float divisor) { fineDivisor = divisor; }

float Slider::getFineDivisor() { return fineDivisor; }

}  // namespace wrenfold
