// The module's start-up notification on POSIX systems: a load-time constructor. Built into the
// module only; programs that link the classes directly have no module handle.
#include <dlfcn.h>

#include "base/ModuleHandle.h"

namespace {

// Stores the module's own handle (its load address) for the toolkit.
__attribute__((constructor)) void storeModuleHandleAtLoad() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&storeModuleHandleAtLoad), &info) != 0)
    wrenfold::storeModuleInstanceHandle(info.dli_fbase);
}

}  // namespace
