#include "gui/Bitmap.h"

#include "base/ModuleHandle.h"
#include "gui/DrawContext.h"
#include "gui/platform/platform.h"

namespace wrenfold {

Bitmap::Bitmap(int32_t id)
    : resourceId(id),
      refCount(1),
      width(0),
      height(0),
      keyColor(transparentKeyColor),
      image(nullptr) {
  image = platform::loadBitmapResource(moduleInstanceHandle(), id, &width, &height);
  if (image == nullptr) {
    width = 0;
    height = 0;
  }
}

Bitmap::~Bitmap() { platform::destroySurface(image); }

void Bitmap::addRef() { ++refCount; }

void Bitmap::release() {
  if (refCount <= 0) return;
  if (--refCount == 0) delete this;
}

void Bitmap::draw(DrawContext* context, Rect area, Point offset) {
  if (image == nullptr || context == nullptr || context->getSurface() == nullptr) return;
  platform::copyPixels(context->getSurface(), area, image, offset);
}

void Bitmap::drawTransparent(DrawContext* context, Rect area, Point offset) {
  if (image == nullptr || context == nullptr || context->getSurface() == nullptr) return;
  platform::copyPixelsKeyed(context->getSurface(), area, image, offset, keyColor);
}

}  // namespace wrenfold
