#include <windows.h>

#include "ModuleLoader.h"

namespace wrenfold::testing {

ModuleEntry loadModuleEntry(const char* path) {
  HMODULE module = LoadLibraryA(path);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<ModuleEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
}

}  // namespace wrenfold::testing
