// Input state, the clock, the idle pump's message step and the thread's OLE services.
#include <ole2.h>

#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

bool isHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

}  // namespace

namespace platform {

uint32_t inputState() {
  uint32_t bits = 0;
  if (isHeld(VK_LBUTTON)) bits |= inputLeftButton;
  if (isHeld(VK_MBUTTON)) bits |= inputMiddleButton;
  if (isHeld(VK_RBUTTON)) bits |= inputRightButton;
  if (isHeld(VK_SHIFT)) bits |= inputShiftKey;
  if (isHeld(VK_CONTROL)) bits |= inputControlKey;
  if (isHeld(VK_MENU)) bits |= inputAltKey;
  return bits;
}

Point cursorScreenPosition() {
  POINT position = {};
  if (!GetCursorPos(&position)) return Point();
  return Point(position.x, position.y);
}

bool mouseButtonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) > 0; }

uint32_t tickCount() { return GetTickCount(); }

void sleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

bool dispatchOnePendingPaint() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return false;
  DispatchMessageA(&message);
  return true;
}

void initializeThreadServices() { OleInitialize(nullptr); }

void releaseThreadServices() { OleUninitialize(); }

}  // namespace platform
}  // namespace wrenfold
