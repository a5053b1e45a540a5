#include "host/PluginEntry.h"

#include "delay/DelayPlugin.h"
#include "host/Allocation.h"

namespace wrenfold {

namespace {
bool editorAllocationFailedFlag = false;
}

bool editorAllocationFailed() { return editorAllocationFailedFlag; }

void noteEditorAllocationFailure() { editorAllocationFailedFlag = true; }

AEffect* createPluginInstance(audioMasterCallback hostCallback) {
  if (hostCallback == nullptr) return nullptr;
  try {
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    DelayPlugin* plugin = allocateObject<DelayPlugin>(AllocationSite::effect, hostCallback);
    if (plugin == nullptr) return nullptr;
    if (editorAllocationFailed() || !plugin->isComplete()) {
      delete plugin;
      return nullptr;
    }
    return plugin->effectRecord();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace wrenfold
