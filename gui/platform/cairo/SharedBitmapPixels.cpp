#include "gui/platform/cairo/SharedBitmapPixels.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

#include "gui/platform/cairo/CairoSurface.h"
#include "resources/EmbeddedBitmaps.h"

namespace wrenfold {

namespace {

// Guards the list below, every reference count and the making of keyed copies.
std::mutex cacheLock;
// The resources whose pixels some surface holds.
std::vector<SharedBitmapPixels*> held;

}  // namespace

SharedBitmapPixels::SharedBitmapPixels(int32_t id, DecodedBitmap decoded)
    : resourceId(id), image(std::move(decoded)) {}

SharedBitmapPixels* SharedBitmapPixels::acquire(int32_t id) {
  std::lock_guard<std::mutex> lock(cacheLock);
  auto found = std::find_if(held.begin(), held.end(),
                            [id](const SharedBitmapPixels* entry) { return entry->resourceId == id; });
  if (found != held.end()) {
    ++(*found)->users;
    return *found;
  }
  const EmbeddedBitmap* file = findEmbeddedBitmap(id);
  // Short of memory the bitmap draws nothing, as a missing one does.
  try {
    DecodedBitmap decoded;
    if (file == nullptr || !decodeBmp(file->bytes, file->size, decoded)) return nullptr;
    auto entry = std::unique_ptr<SharedBitmapPixels>(new SharedBitmapPixels(id, std::move(decoded)));
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
    for (uint32_t value : image.pixels) keyed.push_back(value == keyValue ? 0u : 0xff000000u | value);
  }
  return keyColor == key ? keyed.data() : nullptr;
}

}  // namespace wrenfold
