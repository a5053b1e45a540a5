#include "gui/OffscreenContext.h"

#include "gui/Frame.h"
#include "gui/platform/platform.h"

namespace wrenfold {

OffscreenContext::OffscreenContext(Frame* owner, int32_t surfaceWidth, int32_t surfaceHeight,
                                   Color background)
    : DrawContext(owner, nullptr, nullptr),
      width(surfaceWidth),
      height(surfaceHeight),
      backgroundColor(background),
      ownsBitmap(true),
      memorySurface(nullptr) {
  platform::Window* frameWindow = owner != nullptr ? owner->getWindow() : nullptr;
  platform::Surface* reference =
      frameWindow != nullptr ? platform::acquireWindowSurface(frameWindow) : nullptr;
  memorySurface = platform::createMemorySurface(reference, width, height);
  if (reference != nullptr) platform::releaseWindowSurface(frameWindow, reference);
  attachSurface(memorySurface);
  setFillColor(backgroundColor);
  setFrameColor(backgroundColor);
  fillRect(Rect(0, 0, width, height));
  frameRect(Rect(0, 0, width, height));
}

OffscreenContext::~OffscreenContext() {
  detachSurface();
  if (ownsBitmap) platform::destroySurface(memorySurface);
}

void OffscreenContext::copyTo(DrawContext* destination, Rect area, Point source) {
  if (destination == nullptr || destination->getSurface() == nullptr || memorySurface == nullptr)
    return;
  platform::copyPixels(destination->getSurface(), area, memorySurface, source);
}

}  // namespace wrenfold
