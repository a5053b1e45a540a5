// The XDND (version 5) side of a drop target: the window's XdndAware property, XdndStatus answers
// to the source's XdndEnter and XdndPosition, fetching the data through the XdndSelection on
// XdndDrop, and XdndFinished. What is usable, which action to show and what reaches the frame is
// decided by the portable DropTarget.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "gui/platform/shared/UriList.h"
#include "gui/platform/x11/X11State.h"

namespace wrenfold {

namespace x11 {

namespace {

// The version of the drag-and-drop protocol the windows speak.
constexpr uint32_t xdndVersion = 5;
// More than three types: the source lists them in its XdndTypeList property.
constexpr uint32_t moreTypesFlag = 1;
// Largest drop fetched, in 32-bit units.
constexpr uint32_t largestDropWords = 4u << 20;

bool isTextType(xcb_atom_t type) {
  return type == state().atoms.textPlain || type == state().atoms.utf8String;
}

bool offers(const std::vector<xcb_atom_t>& types, xcb_atom_t wanted) {
  return wanted != XCB_ATOM_NONE && std::find(types.begin(), types.end(), wanted) != types.end();
}

// The data of a drag: the types it offers, and after the drop the bytes of the type fetched.
class XdndData : public DropData {
 public:
  XdndData(const std::vector<xcb_atom_t>& types, xcb_atom_t fetched, std::string bytes)
      : offeredTypes(types), fetchedType(fetched), fetchedBytes(std::move(bytes)) {}
  bool offersText() override {
    return offers(offeredTypes, state().atoms.textPlain) ||
           offers(offeredTypes, state().atoms.utf8String);
  }
  bool offersFiles() override { return offers(offeredTypes, state().atoms.uriList); }
  bool readText(std::string& bytes) override {
    if (!isTextType(fetchedType)) return false;
    bytes = fetchedBytes;
    return true;
  }
  bool readFiles(std::vector<std::string>& names) override {
    if (fetchedType != state().atoms.uriList) return false;
    names = filePathsOfUriList(fetchedBytes);
    return true;
  }

 private:
  std::vector<xcb_atom_t> offeredTypes;
  xcb_atom_t fetchedType;
  std::string fetchedBytes;
};

void sendToSource(xcb_window_t source, xcb_atom_t type, const uint32_t (&data)[5]) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = source;
  message.type = type;
  std::memcpy(message.data.data32, data, sizeof(data));
  State& s = state();
  // The source may be gone already; the error then comes back to this connection only.
  std::free(xcb_request_check(
      s.connection, xcb_send_event_checked(s.connection, 0, source, XCB_EVENT_MASK_NO_EVENT,
                                           reinterpret_cast<const char*>(&message))));
}

std::vector<xcb_atom_t> listedTypes(xcb_window_t source) {
  State& s = state();
  std::vector<xcb_atom_t> types;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      s.connection,
      xcb_get_property(s.connection, 0, source, s.atoms.xdndTypeList, XCB_ATOM_ATOM, 0, 256),
      nullptr);
  if (reply != nullptr && reply->format == 32) {
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    types.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
  }
  std::free(reply);
  return types;
}

bool controlKeyHeld() { return (platform::inputState() & controlKey) != 0; }

void enter(platform::Window* window, const xcb_client_message_event_t* message) {
  const uint32_t* data = message->data.data32;
  window->dragSource = data[0];
  window->requestedType = 0;
  window->dragTypes.clear();
  if ((data[1] & moreTypesFlag) != 0) {
    window->dragTypes = listedTypes(window->dragSource);
  } else {
    for (int i = 2; i < 5; ++i) {
      if (data[i] != XCB_ATOM_NONE) window->dragTypes.push_back(data[i]);
    }
  }
  XdndData offered(window->dragTypes, XCB_ATOM_NONE, std::string());
  window->dropTarget->dragEnter(&offered, false);
}

void answerPosition(platform::Window* window) {
  const Atoms& atoms = state().atoms;
  const int32_t effect = window->dropTarget->dragOver(controlKeyHeld());
  window->dragAction = effect == dropEffectCopy   ? atoms.xdndActionCopy
                       : effect == dropEffectMove ? atoms.xdndActionMove
                                                  : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  // Accept flag, and "send every position": the answer depends on the Control key, not the place.
  const uint32_t flags = (effect != dropEffectNone ? 1u : 0u) | 2u;
  sendToSource(window->dragSource, atoms.xdndStatus, {window->id, flags, 0, 0, window->dragAction});
  xcb_flush(state().connection);
}

void finish(platform::Window* window, bool taken) {
  const Atoms& atoms = state().atoms;
  // Only a drop a view took reports its action, so a source never deletes data after a "move"
  // that nothing performed.
  sendToSource(window->dragSource, atoms.xdndFinished,
               {window->id, taken ? 1u : 0u,
                taken ? window->dragAction : static_cast<uint32_t>(XCB_ATOM_NONE), 0, 0});
  xcb_flush(state().connection);
  window->dragSource = 0;
  window->dragTypes.clear();
  window->requestedType = 0;
  window->dropTarget->dragLeave();
}

void requestData(platform::Window* window, xcb_timestamp_t time) {
  const Atoms& atoms = state().atoms;
  if (!window->dropTarget->isAccepted()) {
    finish(window, false);
    return;
  }
  const xcb_atom_t preferred[] = {atoms.textPlain, atoms.utf8String, atoms.uriList};
  for (xcb_atom_t type : preferred) {
    if (offers(window->dragTypes, type)) {
      window->requestedType = type;
      break;
    }
  }
  xcb_convert_selection(state().connection, window->id, atoms.xdndSelection, window->requestedType,
                        atoms.dropProperty, time);
  xcb_flush(state().connection);
}

std::string takeDropProperty(platform::Window* window) {
  State& s = state();
  std::string bytes;
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(s.connection,
                             xcb_get_property(s.connection, 1, window->id, s.atoms.dropProperty,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, largestDropWords),
                             nullptr);
  if (reply != nullptr) {
    bytes.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                 static_cast<std::size_t>(xcb_get_property_value_length(reply)));
  }
  std::free(reply);
  return bytes;
}

}  // namespace

bool handleDropMessage(const xcb_client_message_event_t* message) {
  const Atoms& atoms = state().atoms;
  platform::Window* window = liveWindowWithId(message->window);
  if (window == nullptr || window->dropTarget == nullptr || message->format != 32) return false;
  const uint32_t source = message->data.data32[0];
  if (message->type == atoms.xdndEnter) {
    enter(window, message);
  } else if (source != window->dragSource || window->dragSource == 0) {
    return false;
  } else if (message->type == atoms.xdndPosition) {
    answerPosition(window);
  } else if (message->type == atoms.xdndLeave) {
    window->dragSource = 0;
    window->dropTarget->dragLeave();
  } else if (message->type == atoms.xdndDrop) {
    requestData(window, message->data.data32[2]);
  } else {
    return false;
  }
  return true;
}

bool handleDropData(const xcb_selection_notify_event_t* notify) {
  platform::Window* window = liveWindowWithId(notify->requestor);
  if (window == nullptr || window->dropTarget == nullptr || window->requestedType == 0 ||
      notify->selection != state().atoms.xdndSelection) {
    return false;
  }
  bool taken = false;
  if (notify->property != XCB_ATOM_NONE) {
    XdndData fetched(window->dragTypes, window->requestedType, takeDropProperty(window));
    taken = window->dropTarget->drop(&fetched);
  }
  finish(window, taken);
  return true;
}

}  // namespace x11

namespace platform {

bool registerDropTarget(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr || window->handler == nullptr) return false;
  x11::State& s = x11::state();
  xcb_generic_error_t* error = xcb_request_check(
      s.connection,
      xcb_change_property_checked(s.connection, XCB_PROP_MODE_REPLACE, window->id,
                                  s.atoms.xdndAware, XCB_ATOM_ATOM, 32, 1, &x11::xdndVersion));
  std::free(error);
  if (error != nullptr) return false;
  window->dropTarget.reset(new (std::nothrow)
                               DropTarget(window, window->handler, window->userData));
  return window->dropTarget != nullptr;
}

void revokeDropTarget(Window* window) {
  window = x11::liveWindow(window);
  if (window == nullptr) return;
  window->dropTarget.reset();
  x11::State& s = x11::state();
  std::free(xcb_request_check(
      s.connection, xcb_delete_property_checked(s.connection, window->id, s.atoms.xdndAware)));
}

}  // namespace platform
}  // namespace wrenfold
