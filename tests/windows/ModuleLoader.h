#pragma once

// Loads a plug-in module and finds its `main`, with the loader of the system it is built for.

#include "base/HostInterface.h"

namespace wrenfold::testing {

using ModuleEntry = AEffect*(WRENFOLD_CALL*)(audioMasterCallback);

// Loads the module at `path` and returns its exported `main`, or null when either step fails.
ModuleEntry loadModuleEntry(const char* path);

}  // namespace wrenfold::testing
