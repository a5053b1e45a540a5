#include "gui/platform/cairo/SharedBitmapPixels.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

#include "gui/platform/cairo/CairoSurface.h"
#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/shared/ImageResampler.h"
#include "resources/EmbeddedBitmaps.h"

namespace wrenfold {

namespace {

// Guards the list below, every reference count and the making of keyed copies.
std::mutex cacheLock;
// The resources whose pixels some surface holds.
std::vector<SharedBitmapPixels*> held;

bool decodeResource(int32_t id, DecodedBitmap& image) {
  const EmbeddedBitmap* file = findEmbeddedBitmap(id);
  return file != nullptr && decodeBmp(file->bytes, file->size, image);
}

// Makes the picture of resource `id` at `scale` in device pixels: the 1× picture at 1, else from
// the 2× picture (the 1× one where there is none), resized unless it already has the size.
bool makeScaled(int32_t id, float scale, DecodedBitmap& image) {
  if (scale == 1.0f) return decodeResource(id, image);
  DecodedBitmap source;
  int32_t width = 0;
  int32_t height = 0;
  const EmbeddedBitmap* file = findEmbeddedBitmap(id);
  if (file == nullptr || !readBmpSize(file->bytes, file->size, width, height)) return false;
  if (!decodeResource(id + platform::doubleSizeResourceOffset, source) &&
      !decodeResource(id, source))
    return false;
  image.width = platform::toDevice(width, scale);
  image.height = platform::toDevice(height, scale);
  if (image.width == source.width && image.height == source.height) {
    image.pixels = std::move(source.pixels);
    return true;
  }
  image.pixels =
      ImageResampler::resize(source.pixels.data(), source.width, source.height, image.width,
                             image.height, cairo::packedColor(transparentKeyColor));
  return !image.pixels.empty();
}

}  // namespace

SharedBitmapPixels::SharedBitmapPixels(int32_t id, float scale, DecodedBitmap decoded)
    : resourceId(id), pixelScale(scale), image(std::move(decoded)) {}

SharedBitmapPixels* SharedBitmapPixels::acquire(int32_t id, float scale) {
  std::lock_guard<std::mutex> lock(cacheLock);
  auto found = std::find_if(held.begin(), held.end(), [id, scale](const SharedBitmapPixels* entry) {
    return entry->resourceId == id && entry->pixelScale == scale;
  });
  if (found != held.end()) {
    ++(*found)->users;
    return *found;
  }
  // Short of memory the bitmap draws nothing, as a missing one does.
  try {
    DecodedBitmap decoded;
    if (!makeScaled(id, scale, decoded)) return nullptr;
    auto entry =
        std::unique_ptr<SharedBitmapPixels>(new SharedBitmapPixels(id, scale, std::move(decoded)));
    held.push_back(entry.get());
    entry->users = 1;
    return entry.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::size_t SharedBitmapPixels::heldCount() {
  std::lock_guard<std::mutex> lock(cacheLock);
  return held.size();
}

std::size_t SharedBitmapPixels::heldBytes() {
  std::lock_guard<std::mutex> lock(cacheLock);
  std::size_t bytes = 0;
  for (const SharedBitmapPixels* entry : held) {
    bytes += (entry->image.pixels.size() + entry->keyed.size()) * sizeof(uint32_t);
  }
  return bytes;
}

void SharedBitmapPixels::release() {
  std::lock_guard<std::mutex> lock(cacheLock);
  if (--users > 0) return;
  held.erase(std::remove(held.begin(), held.end(), this), held.end());
  delete this;
}

const uint32_t* SharedBitmapPixels::keyedPixels(Color key) {
  std::lock_guard<std::mutex> lock(cacheLock);
  if (keyed.empty()) {
    // Short of memory keyed copies compare each pixel instead.
    try {
      keyed.reserve(image.pixels.size());
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    keyColor = key;
    const uint32_t keyValue = cairo::packedColor(key);
    for (uint32_t value : image.pixels)
      keyed.push_back(value == keyValue ? 0u : 0xff000000u | value);
  }
  return keyColor == key ? keyed.data() : nullptr;
}

}  // namespace wrenfold
