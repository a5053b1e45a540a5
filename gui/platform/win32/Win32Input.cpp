// Input state: held buttons and keys, swapped buttons mapped back, and the cursor.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

bool isHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

}  // namespace

namespace win32 {

uint32_t logicalInputBits(uint32_t physical, bool swapped) {
  if (!swapped) return physical;
  const uint32_t sides = physical & (platform::inputLeftButton | platform::inputRightButton);
  const uint32_t swappedSides = ((sides & platform::inputLeftButton) != 0 ? platform::inputRightButton : 0u) |
                                ((sides & platform::inputRightButton) != 0 ? platform::inputLeftButton : 0u);
  return (physical & ~sides) | swappedSides;
}

}  // namespace win32

namespace platform {

uint32_t inputState() {
  uint32_t bits = 0;
  if (isHeld(VK_LBUTTON)) bits |= inputLeftButton;
  if (isHeld(VK_MBUTTON)) bits |= inputMiddleButton;
  if (isHeld(VK_RBUTTON)) bits |= inputRightButton;
  if (isHeld(VK_SHIFT)) bits |= inputShiftKey;
  if (isHeld(VK_CONTROL)) bits |= inputControlKey;
  if (isHeld(VK_MENU)) bits |= inputAltKey;
  return win32::logicalInputBits(bits, win32::mouseButtonsSwapped());
}

Point cursorScreenPosition() {
  POINT position = {};
  if (!GetCursorPos(&position)) return Point();
  return Point(position.x, position.y);
}

}  // namespace platform
}  // namespace wrenfold
