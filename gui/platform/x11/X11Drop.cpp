#include <cstdlib>

#include "gui/platform/x11/X11State.h"

namespace wrenfold {

namespace x11 {

// The version of the drag-and-drop protocol the windows speak.
constexpr uint32_t xdndVersion = 5;

bool handleDropMessage(const xcb_client_message_event_t*) { return false; }

bool handleDropData(const xcb_selection_notify_event_t*) { return false; }

}  // namespace x11

namespace platform {

bool registerDropTarget(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr) return false;
  x11::State& s = x11::state();
  xcb_generic_error_t* error = xcb_request_check(
      s.connection, xcb_change_property_checked(s.connection, XCB_PROP_MODE_REPLACE, window->id, s.atoms.xdndAware,
                                                XCB_ATOM_ATOM, 32, 1, &x11::xdndVersion));
  std::free(error);
  return error == nullptr;
}

void revokeDropTarget(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr) return;
  x11::State& s = x11::state();
  std::free(xcb_request_check(s.connection, xcb_delete_property_checked(s.connection, window->id, s.atoms.xdndAware)));
}

}  // namespace platform
}  // namespace wrenfold
