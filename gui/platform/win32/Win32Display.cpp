// The window system's use by a frame, the event pump and the idle pump's paint step. A frame's use
// initialises the thread's OLE (for its drop target) and loads the image library for keyed blits.
// The host's own message loop delivers the window's messages, so the pump only makes sure GDI has
// carried out the drawing it may still hold in the thread's batch.
#include <ole2.h>

#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace platform {

bool acquireDisplay() {
  // The initialisation's result is not examined: a thread already initialised otherwise still
  // gets its drop target registered or refused by OLE itself.
  OleInitialize(nullptr);
  win32::loadImageLibrary();
  return true;
}

void releaseDisplay() {
  OleUninitialize();
  win32::freeImageLibrary();
}

void dispatchPendingEvents() { GdiFlush(); }

bool dispatchOnePendingPaint() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return false;
  DispatchMessageA(&message);
  return true;
}

}  // namespace platform
}  // namespace wrenfold
