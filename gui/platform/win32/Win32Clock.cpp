// The clock and sleep of the idle pump.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace platform {

uint32_t tickCount() { return GetTickCount(); }

void sleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace platform
}  // namespace wrenfold
