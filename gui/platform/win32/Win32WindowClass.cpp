// The module's one window class: named after the module handle, registered when the first window
// asks for it and unregistered after the last one is destroyed. The user's swapped-buttons setting
// is read when the class is registered, as the input state relies on it.
#include <cstdio>

#include "base/ModuleHandle.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

// Module-wide, like the rest of the window system's state; touched only on the UI thread.
char className[24] = {};
int32_t classUseCount = 0;
const platform::WindowHandler* classHandler = nullptr;
bool buttonsSwapped = false;

HINSTANCE moduleInstance() { return static_cast<HINSTANCE>(moduleInstanceHandle()); }

void registerClass() {
  std::snprintf(className, sizeof(className), "Plugin%08x",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(moduleInstanceHandle())));
  WNDCLASSA windowClass = {};
  windowClass.style = CS_GLOBALCLASS;
  windowClass.lpfnWndProc = win32::windowProcedure;
  // Each window keeps the scale it was made at.
  windowClass.cbWndExtra = sizeof(LONG);
  windowClass.hInstance = moduleInstance();
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) > 0;
}

}  // namespace

namespace win32 {

const char* useWindowClass(const platform::WindowHandler* handler) {
  // The toolkit gives all its windows one handler; the latest is the one the procedure calls.
  classHandler = handler;
  if (classUseCount++ == 0) registerClass();
  return className;
}

void endWindowClassUse() {
  if (classUseCount <= 0 || --classUseCount != 0) return;
  UnregisterClassA(className, moduleInstance());
}

const platform::WindowHandler* windowClassHandler() { return classHandler; }

bool mouseButtonsSwapped() { return buttonsSwapped; }

}  // namespace win32
}  // namespace wrenfold
