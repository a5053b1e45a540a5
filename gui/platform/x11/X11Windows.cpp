#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/shared/WindowFace.h"
#include "gui/platform/x11/X11State.h"

namespace wrenfold {

namespace {

using x11::state;

// Sends a request and answers whether the server accepted it.
bool accepted(xcb_void_cookie_t cookie) {
  xcb_generic_error_t* error = xcb_request_check(state().connection, cookie);
  std::free(error);
  return error == nullptr;
}

bool setTextProperty(xcb_window_t window, xcb_atom_t property, const std::string& text) {
  return accepted(xcb_change_property_checked(state().connection, XCB_PROP_MODE_REPLACE, window,
                                              property, XCB_ATOM_STRING, 8,
                                              static_cast<uint32_t>(text.size()), text.data()));
}

// Tells the host the window's size is fixed (minimum and maximum), so that a host which embeds it
// in a widget of its own size keeps it at that size instead of stretching it.
void setFixedSize(xcb_window_t window, Rect bounds) {
  constexpr uint32_t minimumAndMaximum = (1u << 4) | (1u << 5);
  const auto width = static_cast<uint32_t>(bounds.width());
  const auto height = static_cast<uint32_t>(bounds.height());
  const uint32_t hints[18] = {minimumAndMaximum, 0, 0, 0, 0, width, height, width, height};
  xcb_change_property(state().connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                      XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
}

// Creates the X window inside `parent`; 0 when the server refuses (for example a parent that is
// gone).
xcb_window_t createXWindow(xcb_window_t parent, Rect bounds) {
  x11::State& s = state();
  const xcb_window_t id = xcb_generate_id(s.connection);
  // Depth, visual and colormap are the screen's own, so a parent of another visual is no obstacle.
  const uint32_t mask =
      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP | XCB_CW_CURSOR;
  const uint32_t values[] = {
      s.format.pixelOf(cairo::packedColor(platform::windowFaceColor)), 0,
      XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY,
      s.screen->default_colormap, s.arrow};
  const xcb_void_cookie_t cookie = xcb_create_window_checked(
      s.connection, s.format.depth(), id, parent, static_cast<int16_t>(bounds.left),
      static_cast<int16_t>(bounds.top), static_cast<uint16_t>(bounds.width()),
      static_cast<uint16_t>(bounds.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
      s.screen->root_visual, mask, values);
  return accepted(cookie) ? id : 0;
}

}  // namespace

namespace platform {

Window* createChildWindow(void* parent, Rect editorBounds, const char* title,
                          const WindowHandler* handler, void* userData, float scale) {
  x11::State& s = state();
  scale = usableScale(scale);
  const Rect bounds = toDevice(editorBounds, scale);
  // The parent is the host window's id; it is only ever handed to the X server.
  const auto parentId = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parent));
  if (handler == nullptr || parentId == 0 || s.connection == nullptr || bounds.width() <= 0 ||
      bounds.height() <= 0 || !s.format.usable()) {
    return nullptr;
  }
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, bounds.width(), bounds.height());
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return nullptr;
  }
  const xcb_window_t id = createXWindow(parentId, bounds);
  if (id == 0) {
    cairo_surface_destroy(image);
    return nullptr;
  }
  setTextProperty(id, XCB_ATOM_WM_NAME, title != nullptr ? title : "");
  setFixedSize(id, bounds);
  xcb_map_window(s.connection, id);
  xcb_flush(s.connection);

  auto window = std::make_unique<Window>();
  window->id = id;
  window->handler = handler;
  window->userData = userData;
  window->image = image;
  window->scale = scale;
  window->width = bounds.width();
  window->height = bounds.height();
  s.windows.push_back(std::move(window));
  return s.windows.back().get();
}

void destroyWindow(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr) return;
  window->userData = nullptr;
  x11::markDead(window);
  // The window may already be gone with the host's window; the error then comes back to us alone.
  accepted(xcb_destroy_window_checked(state().connection, window->id));
}

float windowScale(Window* window) {
  window = x11::liveWindow(window);
  return window != nullptr ? window->scale : 1.0f;
}

Rect windowScreenRect(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr) return Rect();
  x11::State& s = state();
  xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
      s.connection, xcb_translate_coordinates(s.connection, window->id, s.screen->root, 0, 0),
      nullptr);
  if (reply == nullptr) return Rect(0, 0, window->width, window->height);
  const Rect answer(reply->dst_x, reply->dst_y, reply->dst_x + window->width,
                    reply->dst_y + window->height);
  std::free(reply);
  return answer;
}

void invalidateWindow(Window* window, const Rect* area) {
  window = x11::liveWindow(window);
  if (window == nullptr) return;
  const Rect whole(0, 0, window->width, window->height);
  const Rect wanted = area != nullptr ? toDevice(*area, window->scale) : whole;
  window->paintArea = window->paintPending ? window->paintArea.unitedWith(wanted) : wanted;
  window->paintPending = true;
}

Surface* acquireWindowSurface(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr) return nullptr;
  // The surface holds its own reference, so it stays valid if the window dies while it is in use.
  return cairo::makeSurface(cairo_surface_reference(window->image), true, window, window->scale);
}

void releaseWindowSurface(Window* window, Surface* surface) {
  window = x11::liveWindow(window);
  if (window != nullptr && window->damaged) {
    x11::present(window);
    xcb_flush(state().connection);
  }
  destroySurface(surface);
}

}  // namespace platform
}  // namespace wrenfold
