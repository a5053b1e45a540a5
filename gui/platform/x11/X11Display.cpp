#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/x11/X11State.h"

namespace wrenfold {

namespace x11 {

namespace {

constexpr uint32_t putImageHeaderBytes = 24;

const char* const atomNames[] = {
    "XdndAware",      "XdndEnter",    "XdndPosition",  "XdndStatus",    "XdndLeave",
    "XdndDrop",       "XdndFinished", "XdndSelection", "XdndTypeList",  "XdndActionCopy",
    "XdndActionMove", "text/plain",   "UTF8_STRING",   "text/uri-list", "WRENFOLD_DROP",
};
constexpr std::size_t atomCount = sizeof(atomNames) / sizeof(atomNames[0]);
static_assert(sizeof(Atoms) == atomCount * sizeof(xcb_atom_t), "one name per atom");

Rect clippedToWindow(const platform::Window* window, Rect area) {
  return Rect(std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, window->width),
              std::min(area.bottom, window->height));
}

// Adds what a primitive changed in a window's image to what the window has to show.
void addDamage(const cairo::DrawingStep& step) {
  if (step.target == nullptr || step.target->window == nullptr) return;
  platform::Window* window = liveWindow(step.target->window);
  if (window == nullptr) return;
  const Rect area = clippedToWindow(window, step.changed);
  if (area.left >= area.right || area.top >= area.bottom) return;
  window->damage = window->damaged ? window->damage.unitedWith(area) : area;
  window->damaged = true;
}

void addExposure(platform::Window* window, Rect area) {
  window->paintArea = window->paintPending ? window->paintArea.unitedWith(area) : area;
  window->paintPending = true;
}

// Runs the class's paint for the exposed area and shows the result.
void paint(platform::Window* window) {
  window->paintPending = false;
  if (window->handler == nullptr || window->userData == nullptr ||
      window->handler->paint == nullptr)
    return;
  platform::Surface* surface = platform::acquireWindowSurface(window);
  if (surface == nullptr) return;
  window->handler->paint(window, window->userData, surface,
                         platform::coveringEditorRect(window->paintArea, window->scale));
  platform::releaseWindowSurface(window, surface);
}

// The frame's hit test and the control's first look at the buttons see the click as it was.
constexpr int32_t clickPolls = 2;

void buttonDown(platform::Window* window, const xcb_button_press_event_t* press) {
  State& s = state();
  if (s.clickInProgress || window->handler == nullptr || window->userData == nullptr ||
      window->handler->buttonDown == nullptr) {
    return;
  }
  const uint16_t pressed = static_cast<uint16_t>(XCB_KEY_BUT_MASK_BUTTON_1 << (press->detail - 1));
  s.clickInput = inputBitsOfMask(static_cast<uint16_t>(press->state | pressed));
  s.clickPollsLeft = clickPolls;
  s.clickInProgress = true;
  window->handler->buttonDown(
      window, window->userData,
      platform::toEditor(Point(press->event_x, press->event_y), window->scale));
  s.clickInProgress = false;
  s.clickPollsLeft = 0;
  presentAll();
}

// Buttons 4 and 5 are the wheel turned one notch away from the user and towards them.
constexpr uint8_t wheelAwayButton = 4;
constexpr uint8_t wheelTowardsButton = 5;

void wheelTurned(platform::Window* window, const xcb_button_press_event_t* press) {
  State& s = state();
  if (s.clickInProgress || window->handler == nullptr || window->userData == nullptr ||
      window->handler->wheel == nullptr) {
    return;
  }
  // The control's look at the modifiers (Shift for a finer step) sees them as they were.
  s.clickInput = inputBitsOfMask(press->state);
  s.clickPollsLeft = 1;
  const float distance = press->detail == wheelAwayButton ? 1.0f : -1.0f;
  window->handler->wheel(window, window->userData,
                         platform::toEditor(Point(press->event_x, press->event_y), window->scale),
                         distance);
  s.clickPollsLeft = 0;
  presentAll();
}

void pollEvents() {
  State& s = state();
  while (s.connection != nullptr) {
    xcb_generic_event_t* event = xcb_poll_for_event(s.connection);
    if (event == nullptr) break;
    handleEvent(event);
    std::free(event);
  }
}

// Paints one window with a pending exposure; answers whether there was one.
bool paintOne() {
  State& s = state();
  for (std::size_t i = 0; i < s.windows.size(); ++i) {
    platform::Window* window = s.windows[i].get();
    if (window->alive && window->paintPending) {
      paint(window);
      return true;
    }
  }
  return false;
}

}  // namespace

xcb_cursor_t createArrowCursor(xcb_connection_t* connection) {
  // The arrow of the server's standard cursor font: glyph 68, its mask 69, black on white.
  constexpr uint16_t arrowGlyph = 68;
  const xcb_font_t font = xcb_generate_id(connection);
  const char name[] = "cursor";
  xcb_open_font(connection, font, sizeof name - 1, name);
  const xcb_cursor_t cursor = xcb_generate_id(connection);
  xcb_create_glyph_cursor(connection, cursor, font, font, arrowGlyph, arrowGlyph + 1, 0, 0, 0,
                          0xffff, 0xffff, 0xffff);
  xcb_close_font(connection, font);
  return cursor;
}

State& state() {
  static State instance;
  return instance;
}

platform::Window* liveWindow(const void* handle) {
  for (auto& window : state().windows) {
    if (window.get() == handle) return window->alive ? window.get() : nullptr;
  }
  return nullptr;
}

platform::Window* liveWindowWithId(xcb_window_t id) {
  for (auto& window : state().windows) {
    if (window->alive && window->id == id) return window.get();
  }
  return nullptr;
}

bool internAtoms(xcb_connection_t* connection, Atoms& atoms) {
  xcb_intern_atom_cookie_t cookies[atomCount];
  for (std::size_t i = 0; i < atomCount; ++i) {
    cookies[i] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(atomNames[i])),
                                 atomNames[i]);
  }
  xcb_atom_t* out = reinterpret_cast<xcb_atom_t*>(&atoms);
  bool complete = true;
  for (std::size_t i = 0; i < atomCount; ++i) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
    out[i] = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    complete = complete && reply != nullptr;
    std::free(reply);
  }
  return complete;
}

void present(platform::Window* window) {
  State& s = state();
  if (!window->damaged || !window->alive || s.connection == nullptr) return;
  window->damaged = false;
  const Rect area = window->damage;
  const int32_t width = area.width();
  cairo_surface_flush(window->image);
  const unsigned char* data = cairo_image_surface_get_data(window->image);
  const int stride = cairo_image_surface_get_stride(window->image);
  const uint32_t rowBytes = s.format.rowBytes(width);
  const int32_t rowsPerRequest = static_cast<int32_t>(
      std::max<uint32_t>(1, (s.maximumRequestBytes - putImageHeaderBytes) / rowBytes));
  // Only the damaged rectangle travels, in bands that fit one request each, in the screen's format.
  for (int32_t top = area.top; top < area.bottom; top += rowsPerRequest) {
    const int32_t rows = std::min(rowsPerRequest, area.bottom - top);
    s.rowBuffer.resize(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(rows));
    for (int32_t row = 0; row < rows; ++row) {
      const auto* source =
          reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(top + row) * stride);
      s.format.convertRow(source + area.left, width,
                          s.rowBuffer.data() + static_cast<std::size_t>(row) * rowBytes);
    }
    xcb_put_image(s.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window->id, s.gc,
                  static_cast<uint16_t>(width), static_cast<uint16_t>(rows),
                  static_cast<int16_t>(area.left), static_cast<int16_t>(top), 0, s.format.depth(),
                  rowBytes * static_cast<uint32_t>(rows), s.rowBuffer.data());
  }
}

void presentAll() {
  State& s = state();
  bool sent = false;
  for (std::size_t i = 0; i < s.windows.size(); ++i) {
    platform::Window* window = s.windows[i].get();
    if (window->alive && window->damaged) {
      present(window);
      sent = true;
    }
  }
  if (sent && s.connection != nullptr) xcb_flush(s.connection);
}

void markDead(platform::Window* window) {
  if (!window->alive) return;
  window->alive = false;
  window->damaged = false;
  window->paintPending = false;
  if (window->handler != nullptr && window->userData != nullptr &&
      window->handler->destroyed != nullptr) {
    window->handler->destroyed(window, window->userData);
  }
  cairo_surface_destroy(window->image);
  window->image = nullptr;
  window->dropTarget.reset();
}

void handleEvent(const xcb_generic_event_t* event) {
  switch (event->response_type & 0x7f) {
    case XCB_EXPOSE: {
      const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
      if (platform::Window* window = liveWindowWithId(expose->window)) {
        addExposure(window, Rect(expose->x, expose->y, expose->x + expose->width,
                                 expose->y + expose->height));
      }
      break;
    }
    case XCB_BUTTON_PRESS: {
      const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event);
      platform::Window* window = liveWindowWithId(press->event);
      // Buttons 1 to 3 are the mouse buttons, 4 and 5 the wheel; 6 and 7 (sideways) are ignored.
      if (window != nullptr && press->detail >= 1 && press->detail <= 3) {
        buttonDown(window, press);
      } else if (window != nullptr &&
                 (press->detail == wheelAwayButton || press->detail == wheelTowardsButton)) {
        wheelTurned(window, press);
      }
      break;
    }
    case XCB_DESTROY_NOTIFY: {
      const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
      if (platform::Window* window = liveWindowWithId(destroyed->window)) markDead(window);
      break;
    }
    case XCB_CLIENT_MESSAGE:
      handleDropMessage(reinterpret_cast<const xcb_client_message_event_t*>(event));
      break;
    case XCB_SELECTION_NOTIFY:
      handleDropData(reinterpret_cast<const xcb_selection_notify_event_t*>(event));
      break;
    default:
      // Errors of unchecked requests (a window the host destroyed before we heard of it) end here.
      break;
  }
}

}  // namespace x11

namespace platform {

using x11::state;

bool acquireDisplay() {
  x11::State& s = state();
  if (s.displayUses++ > 0) return s.connection != nullptr;
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection) != 0) {
    xcb_disconnect(connection);
    return false;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0 || !x11::internAtoms(connection, s.atoms)) {
    xcb_disconnect(connection);
    return false;
  }
  s.connection = connection;
  s.screen = screens.data;
  s.maximumRequestBytes = xcb_get_maximum_request_length(connection) * 4;
  s.gc = xcb_generate_id(connection);
  xcb_create_gc(connection, s.gc, s.screen->root, 0, nullptr);
  s.format = x11::X11PixelFormat::ofScreen(xcb_get_setup(connection), s.screen);
  s.arrow = x11::createArrowCursor(connection);
  cairo::setDrawingWatcher(&x11::addDamage);
  return true;
}

void releaseDisplay() {
  x11::State& s = state();
  if (s.displayUses <= 0 || --s.displayUses > 0) return;
  for (auto& window : s.windows) {
    if (window->alive) destroyWindow(window.get());
  }
  s.windows.clear();
  s.rowBuffer = std::vector<uint8_t>();
  if (s.connection != nullptr) {
    if (s.arrow != 0) xcb_free_cursor(s.connection, s.arrow);
    s.arrow = 0;
    xcb_free_gc(s.connection, s.gc);
    xcb_disconnect(s.connection);
  }
  s.connection = nullptr;
  s.screen = nullptr;
  cairo::setDrawingWatcher(nullptr);
}

void dispatchPendingEvents() {
  x11::pollEvents();
  while (x11::paintOne()) {
  }
  x11::presentAll();
}

bool dispatchOnePendingPaint() {
  x11::pollEvents();
  const bool painted = x11::paintOne();
  x11::presentAll();
  return painted;
}

}  // namespace platform
}  // namespace wrenfold
