#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gui/Color.h"
#include "gui/platform/cairo/BmpDecoder.h"

namespace wrenfold {

// One skin bitmap at one scale, made once for the whole module and shared by every surface that
// draws it, so that many instances hold one copy of the skin and instances that never draw it (or
// never at that scale) hold none. It is made when a surface first draws it and freed with the last
// surface that let go. The pixels never change once made, so surfaces on different threads read
// them without a lock; acquiring, releasing and making the keyed copy take the module-wide lock.
// [UI threads of any instance]
class SharedBitmapPixels {
 public:
  // Returns the pixels of bitmap resource `id` at `scale` with one more reference, making them
  // when no surface holds them; null when the resource is missing or does not decode.
  static SharedBitmapPixels* acquire(int32_t id, float scale);
  // Returns the number of resources and scales whose pixels are held.
  static std::size_t heldCount();
  // Returns the bytes of pixels held, keyed copies included.
  static std::size_t heldBytes();

  SharedBitmapPixels(const SharedBitmapPixels&) = delete;
  SharedBitmapPixels& operator=(const SharedBitmapPixels&) = delete;

  // Drops one reference; the last one frees the pixels.
  void release();
  // Returns the image width in device pixels.
  int32_t width() const { return image.width; }
  // Returns the image height in device pixels.
  int32_t height() const { return image.height; }
  // Returns the scale the pixels were made for.
  float scale() const { return pixelScale; }
  // Returns the pixels, rows top to bottom, as 0x00RRGGBB.
  const uint32_t* pixels() const { return image.pixels.data(); }
  // Returns the pixels as premultiplied ARGB with the key colour fully transparent, made on the
  // first call; null for a key other than the first one asked for.
  const uint32_t* keyedPixels(Color key);

 private:
  // Takes over the image of resource `id` at `scale` with no reference yet.
  SharedBitmapPixels(int32_t id, float scale, DecodedBitmap decoded);

  int32_t resourceId;
  float pixelScale;
  int32_t users = 0;
  DecodedBitmap image;
  std::vector<uint32_t> keyed;
  Color keyColor;
};

}  // namespace wrenfold
