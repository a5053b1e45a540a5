// The event record, the paint queue, clicks and drops the program scripts, and the uses of the
// window system.
#include <cstdio>

#include "gui/platform/headless/HeadlessState.h"
#include "gui/platform/shared/DeviceScale.h"

namespace wrenfold {

namespace headless {

const std::vector<std::string>& events() { return state().events; }

void clickWindow(platform::Window* window, Point where) {
  if (findWindow(window) == nullptr || window->handler == nullptr || window->userData == nullptr)
    return;
  recordEvent("buttonDown " + std::to_string(where.h) + "," + std::to_string(where.v));
  if (window->handler->buttonDown != nullptr) {
    window->handler->buttonDown(window, window->userData, platform::toEditor(where, window->scale));
  }
}

bool dropOnWindow(platform::Window* window, void** items, int32_t count, int32_t type,
                  Point where) {
  if (findWindow(window) == nullptr || !window->dropTarget || window->handler == nullptr ||
      window->userData == nullptr || window->handler->drop == nullptr) {
    return false;
  }
  return window->handler->drop(window, window->userData, items, count, type,
                               platform::toEditor(where, window->scale));
}

void setDesktopScale(float scale) { state().desktopScale = scale; }

std::size_t pendingPaintCount() { return state().paintQueue.size(); }

int32_t displayConnectionDepth() { return state().displayConnections; }

}  // namespace headless

namespace platform {

using headless::recordEvent;
using headless::state;

bool acquireDisplay() {
  ++state().displayConnections;
  return true;
}

void releaseDisplay() {
  if (state().displayConnections > 0) --state().displayConnections;
}

// Clicks and drops arrive when the program scripts them; what waits here are paint requests.
void dispatchPendingEvents() {
  while (dispatchOnePendingPaint()) {
  }
}

bool dispatchOnePendingPaint() {
  auto& queue = state().paintQueue;
  if (queue.empty()) return false;
  Window* window = queue.front();
  queue.pop_front();
  window->paintPending = false;
  Rect area = window->invalidArea;
  char text[64];
  std::snprintf(text, sizeof(text), "paint %d,%d,%d,%d", area.left, area.top, area.right,
                area.bottom);
  recordEvent(text);
  if (window->handler != nullptr && window->userData != nullptr &&
      window->handler->paint != nullptr) {
    Surface* surface = cairo::makeSurface(window->image, false, window, window->scale);
    window->handler->paint(window, window->userData, surface,
                           coveringEditorRect(area, window->scale));
    releaseWindowSurface(window, surface);
  }
  return true;
}

float desktopScale(void*) { return state().desktopScale; }

bool registerDropTarget(Window* window) {
  if (headless::findWindow(window) == nullptr) return false;
  window->dropTarget = true;
  recordEvent("registerDrop \"" + window->title + "\"");
  return true;
}

void revokeDropTarget(Window* window) {
  if (headless::findWindow(window) == nullptr || !window->dropTarget) return;
  window->dropTarget = false;
  recordEvent("revokeDrop \"" + window->title + "\"");
}

}  // namespace platform
}  // namespace wrenfold
