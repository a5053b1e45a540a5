// The display connection, event pump and present step of the platform contract. On Windows the
// host's own message loop delivers the window's messages and GDI draws straight into the window,
// so there is no connection to open, nothing to pump and nothing to present.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace platform {

bool acquireDisplay() { return true; }

void releaseDisplay() {}

void dispatchPendingEvents() {}

void presentWindow(Window*) {}

// TransparentBlt (or the mask fallback) takes the key colour per copy; nothing to prepare.
void keyBitmap(Surface*, Color) {}

}  // namespace platform
}  // namespace wrenfold
