#include "gui/platform/headless/HeadlessHostBridge.h"

#include <algorithm>
#include <cstring>

#include "gui/platform/headless/HeadlessHostWindow.h"
#include "gui/platform/headless/HeadlessState.h"

namespace wrenfold {
namespace headless {

namespace {

bool isChildWindow(platform::Window* window) {
  return std::any_of(state().windows.begin(), state().windows.end(),
                     [window](const auto& live) { return live.get() == window; });
}

// Copies the editor window's pixels into the program's buffer, clipped to both.
void copyChildPixels(HeadlessHostWindow* host, platform::Window* child) {
  cairo_surface_flush(child->image);
  const int32_t width = std::min(host->width, cairo_image_surface_get_width(child->image));
  const int32_t height = std::min(host->height, cairo_image_surface_get_height(child->image));
  const unsigned char* data = cairo_image_surface_get_data(child->image);
  const int stride = cairo_image_surface_get_stride(child->image);
  for (int32_t row = 0; row < height; ++row) {
    const auto* source = reinterpret_cast<const uint32_t*>(data + row * stride);
    uint32_t* target = host->pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(host->width);
    for (int32_t column = 0; column < width; ++column) target[column] = source[column] & 0x00FFFFFFu;
  }
}

void processHostEvents(HeadlessHostWindow* host) {
  auto* child = static_cast<platform::Window*>(host->child);
  if (child == nullptr || !isChildWindow(child)) {
    host->processEvents = nullptr;
    host->child = nullptr;
    return;
  }
  while (platform::dispatchOnePendingPaint()) {
  }
  if (host->pixels != nullptr) copyChildPixels(host, child);
}

}  // namespace

void adoptHostWindow(void* parent, platform::Window* child) {
  auto* host = static_cast<HeadlessHostWindow*>(parent);
  if (host->magic != headlessHostWindowMagic) return;
  host->child = child;
  host->processEvents = processHostEvents;
}

}  // namespace headless
}  // namespace wrenfold
