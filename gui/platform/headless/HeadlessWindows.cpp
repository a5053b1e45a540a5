// The headless windows: host stand-ins and child windows, each an image placed on the screen.
#include <algorithm>

#include "gui/platform/headless/HeadlessState.h"
#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/shared/WindowFace.h"

namespace wrenfold {

namespace headless {

namespace {

cairo_surface_t* makeWindowImage(int32_t width, int32_t height) {
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1));
  cairo_t* cr = cairo_create(image);
  const Color face = platform::windowFaceColor;
  cairo_set_source_rgb(cr, face.red / 255.0, face.green / 255.0, face.blue / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return image;
}

void invalidate(platform::Window* window, Rect area) {
  if (!window->paintPending) {
    window->paintPending = true;
    window->invalidArea = area;
    state().paintQueue.push_back(window);
    return;
  }
  window->invalidArea = window->invalidArea.unitedWith(area);
}

void moveBy(platform::Window* window, int32_t dh, int32_t dv) {
  window->screenArea = window->screenArea.offsetBy(dh, dv);
  for (platform::Window* child : childWindows(window)) moveBy(child, dh, dv);
}

// Destroys children first, then tells the window's class, then forgets the window.
void destroyTree(platform::Window* window) {
  for (platform::Window* child : childWindows(window)) destroyTree(child);
  recordEvent("destroyWindow \"" + window->title + "\"");
  if (window->handler != nullptr && window->userData != nullptr &&
      window->handler->destroyed != nullptr) {
    window->handler->destroyed(window, window->userData);
  }
  auto& queue = state().paintQueue;
  queue.erase(std::remove(queue.begin(), queue.end(), window), queue.end());
  cairo_surface_destroy(window->image);
  auto& windows = state().windows;
  windows.erase(std::remove_if(windows.begin(), windows.end(),
                               [window](const auto& w) { return w.get() == window; }),
                windows.end());
}

}  // namespace

platform::Window* findWindow(const void* handle) {
  for (auto& window : state().windows) {
    if (window.get() == handle) return window.get();
  }
  return nullptr;
}

platform::Window* createHostWindow(Rect screenArea) {
  auto window = std::make_unique<platform::Window>();
  window->title = "Host";
  window->screenArea = screenArea;
  window->image = makeWindowImage(screenArea.width(), screenArea.height());
  platform::Window* handle = window.get();
  state().windows.push_back(std::move(window));
  return handle;
}

void destroyHostWindow(platform::Window* window) {
  if (findWindow(window) != nullptr) destroyTree(window);
}

void moveWindow(platform::Window* window, Point screenPosition) {
  if (findWindow(window) == nullptr) return;
  moveBy(window, screenPosition.h - window->screenArea.left,
         screenPosition.v - window->screenArea.top);
}

bool isLiveWindow(platform::Window* window) { return findWindow(window) != nullptr; }

std::vector<platform::Window*> childWindows(platform::Window* parent) {
  std::vector<platform::Window*> children;
  for (auto& window : state().windows) {
    if (window->parent == parent && parent != nullptr) children.push_back(window.get());
  }
  return children;
}

std::string windowTitle(platform::Window* window) {
  return findWindow(window) != nullptr ? window->title : std::string();
}

bool isDropTarget(platform::Window* window) {
  return findWindow(window) != nullptr && window->dropTarget;
}

std::size_t liveWindowCount() { return state().windows.size(); }

Color windowPixel(platform::Window* window, Point where) {
  if (findWindow(window) == nullptr) return blackColor;
  platform::Surface* surface = cairo::makeSurface(window->image, false, window);
  Color answer = pixel(surface, where);
  platform::releaseWindowSurface(window, surface);
  return answer;
}

bool saveWindowPng(platform::Window* window, const char* path) {
  if (findWindow(window) == nullptr || path == nullptr) return false;
  cairo_surface_flush(window->image);
  return cairo_surface_write_to_png(window->image, path) == CAIRO_STATUS_SUCCESS;
}

}  // namespace headless

namespace platform {

using headless::recordEvent;
using headless::state;

Window* createChildWindow(void* parent, Rect editorBounds, const char* title,
                          const WindowHandler* handler, void* userData, float scale) {
  if (parent == nullptr || handler == nullptr) return nullptr;
  scale = usableScale(scale);
  const Rect bounds = toDevice(editorBounds, scale);
  // A parent that is none of this back end's windows is foreign: it is never looked into.
  Window* parentWindow = headless::findWindow(parent);
  if (parentWindow == nullptr) return nullptr;
  Point origin = parentWindow->screenArea.topLeft();

  auto window = std::make_unique<Window>();
  window->title = title != nullptr ? title : "";
  window->parent = parentWindow;
  window->screenArea = bounds.offsetBy(origin.h, origin.v);
  window->scale = scale;
  window->handler = handler;
  window->userData = userData;
  window->image = headless::makeWindowImage(bounds.width(), bounds.height());
  Window* handle = window.get();
  state().windows.push_back(std::move(window));
  recordEvent("createWindow \"" + handle->title + "\"");
  headless::invalidate(handle, Rect(0, 0, bounds.width(), bounds.height()));
  return handle;
}

void destroyWindow(Window* window) {
  if (headless::findWindow(window) == nullptr) return;
  window->userData = nullptr;
  headless::destroyTree(window);
}

Rect windowScreenRect(Window* window) {
  return headless::findWindow(window) != nullptr ? window->screenArea : Rect();
}

float windowScale(Window* window) {
  return headless::findWindow(window) != nullptr ? window->scale : 1.0f;
}

void invalidateWindow(Window* window, const Rect* area) {
  if (headless::findWindow(window) == nullptr) return;
  Rect whole(0, 0, window->screenArea.width(), window->screenArea.height());
  headless::invalidate(window, area != nullptr ? toDevice(*area, window->scale) : whole);
}

Surface* acquireWindowSurface(Window* window) {
  if (headless::findWindow(window) == nullptr) return nullptr;
  return cairo::makeSurface(window->image, false, window, window->scale);
}

}  // namespace platform
}  // namespace wrenfold
