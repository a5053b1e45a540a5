#include <cstdlib>

#include "gui/platform/x11/X11State.h"

namespace wrenfold {

namespace {

using x11::state;

// The pointer's state, or null without a connection or an answer.
xcb_query_pointer_reply_t* queryPointer() {
  x11::State& s = state();
  if (s.connection == nullptr) return nullptr;
  return xcb_query_pointer_reply(s.connection, xcb_query_pointer(s.connection, s.screen->root),
                                 nullptr);
}

}  // namespace

// Keeps the buttons, Shift, Control and Alt (Mod1); NumLock, CapsLock and the rest are left out.
uint32_t x11::inputBitsOfMask(uint16_t mask) {
  uint32_t bits = 0;
  if ((mask & XCB_KEY_BUT_MASK_BUTTON_1) != 0) bits |= leftButton;
  if ((mask & XCB_KEY_BUT_MASK_BUTTON_2) != 0) bits |= middleButton;
  if ((mask & XCB_KEY_BUT_MASK_BUTTON_3) != 0) bits |= rightButton;
  if ((mask & XCB_KEY_BUT_MASK_SHIFT) != 0) bits |= shiftKey;
  if ((mask & XCB_KEY_BUT_MASK_CONTROL) != 0) bits |= controlKey;
  if ((mask & XCB_KEY_BUT_MASK_MOD_1) != 0) bits |= altKey;
  return bits;
}

namespace platform {

uint32_t inputState() {
  // A tracking loop polls here between drawing steps: show each step before reading the next.
  x11::presentAll();
  x11::State& s = state();
  if (s.clickPollsLeft > 0) {
    --s.clickPollsLeft;
    return s.clickInput;
  }
  xcb_query_pointer_reply_t* reply = queryPointer();
  if (reply == nullptr) return 0;
  const uint32_t bits = x11::inputBitsOfMask(reply->mask);
  std::free(reply);
  return bits;
}

Point cursorScreenPosition() {
  xcb_query_pointer_reply_t* reply = queryPointer();
  if (reply == nullptr) return Point();
  const Point where(reply->root_x, reply->root_y);
  std::free(reply);
  return where;
}

}  // namespace platform
}  // namespace wrenfold
