#pragma once

// Loads the built module with dlopen and creates effects through its exported entry, exactly as
// a host does. The callback answers the version query and records every other call.
#include <dlfcn.h>

#include <string>
#include <vector>

#include "base/HostInterface.h"

namespace wrenfold::testing {

// One call the effect made to the host.
struct RecordedHostCall {
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
};

class LoadedModule {
 public:
  using Entry = AEffect* (*)(audioMasterCallback);

  // The module stays mapped after dlclose, so the leak checker still sees what its runtime keeps.
  LoadedModule() : handle(dlopen(WRENFOLD_MODULE_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
    if (handle == nullptr) loadError = dlerror();
  }
  ~LoadedModule() {
    for (AEffect* effect : openEffects) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    if (handle != nullptr) dlclose(handle);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // Returns whether dlopen succeeded; error() says why not.
  bool loaded() const { return handle != nullptr; }
  // Returns dlerror's text of a failed load.
  const std::string& error() const { return loadError; }
  // Returns the address of an exported symbol, or null.
  void* symbol(const char* name) const { return handle ? dlsym(handle, name) : nullptr; }
  // Creates an effect through the named entry; the fixture closes it at the end.
  AEffect* createEffect(const char* entryName = "VSTPluginMain") {
    auto entry = reinterpret_cast<Entry>(symbol(entryName));
    AEffect* effect = entry != nullptr ? entry(&LoadedModule::hostCallback) : nullptr;
    if (effect != nullptr) openEffects.push_back(effect);
    return effect;
  }
  // Closes an effect created by createEffect before the fixture ends.
  void closeEffect(AEffect* effect) {
    for (auto it = openEffects.begin(); it != openEffects.end(); ++it)
      if (*it == effect) {
        openEffects.erase(it);
        break;
      }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  // Returns the calls made to the host so far (all fixtures share one list).
  static std::vector<RecordedHostCall>& hostCalls() {
    static std::vector<RecordedHostCall> calls;
    return calls;
  }

 private:
  static intptr_t WRENFOLD_CALL hostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value,
                                             void*, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    hostCalls().push_back({opcode, index, value, opt});
    return 0;
  }

  void* handle;
  std::string loadError;
  std::vector<AEffect*> openEffects;
};

// Asks an effect for a text through its dispatcher.
inline std::string dispatchText(AEffect* effect, int32_t opcode, int32_t index = 0) {
  char buffer[256] = {};
  effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
  return buffer;
}

}  // namespace wrenfold::testing
