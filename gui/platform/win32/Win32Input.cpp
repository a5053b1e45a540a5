// Input state: held buttons and keys, swapped buttons mapped back, and the cursor.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

bool isHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

}  // namespace

namespace win32 {

uint32_t logicalInputBits(uint32_t physical, bool swapped) {
  if (!swapped) return physical;
  const uint32_t sides = physical & (leftButton | rightButton);
  const uint32_t swappedSides = ((sides & leftButton) != 0 ? static_cast<uint32_t>(rightButton) : 0u) |
                                ((sides & rightButton) != 0 ? static_cast<uint32_t>(leftButton) : 0u);
  return (physical & ~sides) | swappedSides;
}

}  // namespace win32

namespace platform {

uint32_t inputState() {
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
