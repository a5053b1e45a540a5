// Input state: held buttons and keys, swapped buttons mapped back, and the cursor.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

bool isHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

// The frame's hit test and the control's first look at the buttons see the click as its message
// carried it: the state polled at that time may already be past it (the release of a quick tap),
// or a little behind it on some systems.
constexpr int32_t clickPolls = 2;
uint32_t clickInput = 0;
int32_t clickPollsLeft = 0;

}  // namespace

namespace win32 {

uint32_t logicalInputBits(uint32_t physical, bool swapped) {
  if (!swapped) return physical;
  const uint32_t sides = physical & (leftButton | rightButton);
  const uint32_t swappedSides =
      ((sides & leftButton) != 0 ? static_cast<uint32_t>(rightButton) : 0u) |
      ((sides & rightButton) != 0 ? static_cast<uint32_t>(leftButton) : 0u);
  return (physical & ~sides) | swappedSides;
}

uint32_t messageInputBits(WPARAM keys, bool altHeld) {
  uint32_t bits = altHeld ? static_cast<uint32_t>(altKey) : 0u;
  if ((keys & MK_LBUTTON) != 0) bits |= leftButton;
  if ((keys & MK_MBUTTON) != 0) bits |= middleButton;
  if ((keys & MK_RBUTTON) != 0) bits |= rightButton;
  if ((keys & MK_SHIFT) != 0) bits |= shiftKey;
  if ((keys & MK_CONTROL) != 0) bits |= controlKey;
  return bits;
}

void beginClick(WPARAM keys) {
  // The message's state, so Alt as the queue saw it too.
  clickInput = messageInputBits(keys, GetKeyState(VK_MENU) < 0);
  clickPollsLeft = clickPolls;
}

void endClick() { clickPollsLeft = 0; }

}  // namespace win32

namespace platform {

uint32_t inputState() {
  if (clickPollsLeft > 0) {
    --clickPollsLeft;
    return clickInput;
  }
  uint32_t bits = 0;
  if (isHeld(VK_LBUTTON)) bits |= leftButton;
  if (isHeld(VK_MBUTTON)) bits |= middleButton;
  if (isHeld(VK_RBUTTON)) bits |= rightButton;
  if (isHeld(VK_SHIFT)) bits |= shiftKey;
  if (isHeld(VK_CONTROL)) bits |= controlKey;
  if (isHeld(VK_MENU)) bits |= altKey;
  return win32::logicalInputBits(bits, win32::mouseButtonsSwapped());
}

Point cursorScreenPosition() {
  POINT position = {};
  if (!GetCursorPos(&position)) return Point();
  return Point(position.x, position.y);
}

}  // namespace platform
}  // namespace wrenfold
