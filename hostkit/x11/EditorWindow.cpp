#include "hostkit/x11/EditorWindow.h"

#include <cstdlib>
#include <cstring>

namespace wrenfold {

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
      nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

void setTitle(xcb_connection_t* connection, xcb_window_t window, const char* title) {
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                      8, static_cast<uint32_t>(std::strlen(title)), title);
}

}  // namespace

EditorWindow::EditorWindow(xcb_connection_t* hostConnection, AEffect* hosted, int16_t x, int16_t y)
    : connection(hostConnection), effect(hosted) {
  ERect* rect = nullptr;
  if (effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) == 0 || rect == nullptr) return;
  windowWidth = rect->right - rect->left;
  windowHeight = rect->bottom - rect->top;
  if (windowWidth <= 0 || windowHeight <= 0) return;

  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  hostWindow = xcb_generate_id(connection);
  const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, hostWindow, screen->root, x, y,
                    static_cast<uint16_t>(windowWidth), static_cast<uint16_t>(windowHeight), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
  setTitle(connection, hostWindow, "wrenfold-preview");
  // Closing the window from the window manager arrives as a WM_DELETE_WINDOW message.
  const xcb_atom_t protocols = internAtom(connection, "WM_PROTOCOLS");
  deleteWindow = internAtom(connection, "WM_DELETE_WINDOW");
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, hostWindow, protocols, XCB_ATOM_ATOM, 32,
                      1, &deleteWindow);
  xcb_map_window(connection, hostWindow);
  // The window must exist on the server before the module, on a connection of its own, makes its
  // child inside it: wait for the server to have handled the requests.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

EditorWindow::~EditorWindow() {
  closeEditor();
  destroyWindow();
}

intptr_t EditorWindow::openEditor() {
  if (hostWindow == 0) return 0;
  // The window id travels in the pointer argument, as hosts on X11 pass it.
  const intptr_t answer = effect->dispatcher(
      effect, effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(hostWindow)), 0.0f);
  editorOpen = true;
  return answer;
}

void EditorWindow::idle() {
  if (editorOpen) effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
}

void EditorWindow::closeEditor() {
  if (!editorOpen) return;
  editorOpen = false;
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
}

void EditorWindow::destroyWindow() {
  if (hostWindow == 0) return;
  xcb_destroy_window(connection, hostWindow);
  xcb_flush(connection);
  hostWindow = 0;
}

bool EditorWindow::handleEvent(const xcb_generic_event_t* event) {
  const uint8_t type = event->response_type & 0x7f;
  if (type == XCB_CLIENT_MESSAGE) {
    const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
    return !(message->window == hostWindow && message->data.data32[0] == deleteWindow);
  }
  if (type == XCB_DESTROY_NOTIFY) {
    const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
    if (destroyed->window == hostWindow && hostWindow != 0) {
      hostWindow = 0;
      return false;
    }
  }
  return true;
}

}  // namespace wrenfold
