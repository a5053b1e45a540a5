#include <dlfcn.h>

#include "ModuleLoader.h"

namespace wrenfold::testing {

ModuleEntry loadModuleEntry(const char* path) {
  void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<ModuleEntry>(dlsym(module, "main"));
}

}  // namespace wrenfold::testing
