// The desktop's scale as X11 desktops state it: the resource database's Xft.dpi, which the
// desktops' settings daemons write for HiDPI screens, else GDK_SCALE.
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/platform/x11/X11State.h"

namespace wrenfold {

namespace {

constexpr double standardDpi = 96.0;
// The resource database is small; more than this is read no further.
constexpr uint32_t largestResourceWords = 64 * 1024;

// Returns the text of the root window's RESOURCE_MANAGER property, or empty.
std::string resourceDatabase(xcb_connection_t* connection, xcb_window_t root) {
  const xcb_get_property_cookie_t cookie = xcb_get_property(
      connection, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, largestResourceWords);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
  if (reply == nullptr) return std::string();
  std::string text;
  if (reply->format == 8) {
    text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                static_cast<std::size_t>(xcb_get_property_value_length(reply)));
  }
  std::free(reply);
  return text;
}

// Returns the dots per inch of the database's `Xft.dpi` line, or 0.
double xftDpi(const std::string& database) {
  const std::string name = "Xft.dpi:";
  std::size_t at = 0;
  while ((at = database.find(name, at)) != std::string::npos) {
    if (at == 0 || database[at - 1] == '\n') {
      const char* value = database.c_str() + at + name.size();
      char* end = nullptr;
      const double dpi = std::strtod(value, &end);
      return end != value && dpi > 0 && dpi < 10 * standardDpi ? dpi : 0;
    }
    at += name.size();
  }
  return 0;
}

// Returns GDK_SCALE as a whole factor, as GTK reads it, or 0.
double gdkScale() {
  const char* value = std::getenv("GDK_SCALE");
  if (value == nullptr) return 0;
  const long factor = std::strtol(value, nullptr, 10);
  return factor > 0 && factor < 16 ? static_cast<double>(factor) : 0;
}

}  // namespace

namespace platform {

float desktopScale(void*) {
  x11::State& s = x11::state();
  xcb_connection_t* connection = s.connection;
  xcb_window_t root = s.screen != nullptr ? s.screen->root : 0;
  int screenNumber = 0;
  // Before the first open there is no connection of ours yet; a short one answers.
  const bool ownConnection = connection == nullptr;
  if (ownConnection) {
    connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) == 0) {
      xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
      for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
      root = screens.rem > 0 ? screens.data->root : 0;
    }
  }
  double dpi = 0;
  if (root != 0 && xcb_connection_has_error(connection) == 0)
    dpi = xftDpi(resourceDatabase(connection, root));
  if (ownConnection) xcb_disconnect(connection);
  if (dpi > 0) return static_cast<float>(dpi / standardDpi);
  const double gdk = gdkScale();
  return gdk > 0 ? static_cast<float>(gdk) : 1.0f;
}

}  // namespace platform
}  // namespace wrenfold
