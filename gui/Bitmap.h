#pragma once

#include <cstdint>

#include "gui/Color.h"
#include "gui/Geometry.h"

namespace wrenfold {

class DrawContext;
namespace platform {
struct Surface;
}

// A reference-counted skin image loaded from the module's bitmap resources. A missing or corrupt
// resource gives a 0 × 0 bitmap that draws nothing. [UI thread]
class Bitmap {
 public:
  // Loads the bitmap resource `id`; the new bitmap holds one reference.
  explicit Bitmap(int32_t id);

  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // Adds one reference.
  void addRef();
  // Drops one reference; the last one deletes the bitmap; nothing happens at 0 or below.
  void release();
  // Returns the number of references.
  int32_t getRefCount() const { return refCount; }
  // Returns the resource id.
  int32_t getResourceId() const { return resourceId; }
  // Returns the image width, 0 when loading failed.
  int32_t getWidth() const { return width; }
  // Returns the image height, 0 when loading failed.
  int32_t getHeight() const { return height; }
  // Returns whether an image was loaded.
  bool isLoaded() const { return image != nullptr; }
  // Returns the colour left out by drawTransparent.
  Color getKeyColor() const { return keyColor; }

  // Copies the image to `area` of the context, taking pixels from `offset` on.
  void draw(DrawContext* context, Rect area, Point offset);
  // Like draw, leaving out pixels of the key colour (white).
  void drawTransparent(DrawContext* context, Rect area, Point offset);

 private:
  ~Bitmap();

  int32_t resourceId;
  int32_t refCount;
  int32_t width;
  int32_t height;
  Color keyColor;
  platform::Surface* image;
};

}  // namespace wrenfold
