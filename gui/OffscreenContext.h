#pragma once

#include <cstdint>

#include "gui/DrawContext.h"

namespace wrenfold {

// A drawing context over a memory surface of a fixed size, copied to a window in one blit.
// [UI thread]
class OffscreenContext : public DrawContext {
 public:
  // Makes a width × height surface filled with `backgroundColor`.
  OffscreenContext(Frame* frame, int32_t width, int32_t height, Color backgroundColor);
  // Deletes the surface.
  ~OffscreenContext() override;

  // Copies the area's size of pixels from `source` on to `area` of `destination`.
  void copyTo(DrawContext* destination, Rect area, Point source);

  // Returns the surface width.
  int32_t getWidth() const { return width; }
  // Returns the surface height.
  int32_t getHeight() const { return height; }

 private:
  int32_t width;
  int32_t height;
  Color backgroundColor;
  bool ownsBitmap;
  platform::Surface* memorySurface;
};

}  // namespace wrenfold
