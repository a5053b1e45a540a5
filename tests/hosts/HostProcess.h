#pragma once

// What the small host programs share: loading a module through its exported entry the way a
// host does, and a callback that answers the version query.
#include <dlfcn.h>

#include <cstdio>

#include "base/HostInterface.h"

namespace wrenfold::testing {

// Answers the version query and nothing else.
inline intptr_t WRENFOLD_CALL plainHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Loads the module, creates one effect through `main`, and answers its record; null on failure
// (said on stderr). `handle` receives the module for dlclose.
inline AEffect* loadEffect(const char* path, void** handle) {
  *handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (*handle == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
    return nullptr;
  }
  using Entry = AEffect* (*)(audioMasterCallback);
  auto entry = reinterpret_cast<Entry>(dlsym(*handle, "main"));
  AEffect* effect = entry != nullptr ? entry(plainHost) : nullptr;
  if (effect == nullptr) std::fprintf(stderr, "%s gave no effect\n", path);
  return effect;
}

// Sends an opcode with a pointer argument.
inline intptr_t send(AEffect* effect, int32_t opcode, void* ptr = nullptr, intptr_t value = 0) {
  return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
}

}  // namespace wrenfold::testing
