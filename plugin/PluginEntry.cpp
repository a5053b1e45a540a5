#include "plugin/PluginEntry.h"

#include "base/Allocation.h"
#include "base/ModuleState.h"
#include "plugin/DelayPlugin.h"

namespace wrenfold {

AEffect* createPluginInstance(audioMasterCallback hostCallback) {
  if (hostCallback == nullptr) return nullptr;
  try {
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    DelayPlugin* plugin = allocateObject<DelayPlugin>(AllocationSite::effect, hostCallback);
    if (plugin == nullptr) return nullptr;
    if (moduleState().editorAllocationFailed || !plugin->isComplete()) {
      delete plugin;
      return nullptr;
    }
    return plugin->effectRecord();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace wrenfold
