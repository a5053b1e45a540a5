// The module's start-up notification on Windows: Windows calls it with the DLL's instance handle,
// which the toolkit needs for its window class and the bitmap resources.
#include <windows.h>

#include "base/ModuleHandle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  // The handle is the same for every reason, so storing it each time keeps no state of its own.
  wrenfold::storeModuleInstanceHandle(instance);
  return TRUE;
}
