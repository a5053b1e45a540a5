#include "plugin/DelayPlugin.h"

#include "base/Allocation.h"
#include "base/ModuleState.h"
#include "editor/DelayEditor.h"

namespace wrenfold {

DelayPlugin::DelayPlugin(audioMasterCallback hostCallback) : DelayEffect(hostCallback) {
  assignUniqueId(fourCharCode('Q', 'W', 'N', '3'));
  // The editor attaches itself to this effect while it is constructed.
  DelayEditor* newEditor = allocateObject<DelayEditor>(AllocationSite::editor, this);
  if (newEditor != nullptr && !newEditor->isComplete()) {
    delete newEditor;
    newEditor = nullptr;
  }
  editor = newEditor;
  if (newEditor == nullptr) moduleState().editorAllocationFailed = true;
}

DelayPlugin::~DelayPlugin() {
  delete editor;
  editor = nullptr;
}

void DelayPlugin::applyParameter(int32_t index, float value) {
  DelayEffect::applyParameter(index, value);
  if (editor != nullptr) static_cast<DelayEditor*>(editor)->parameterChanged(index, value);
}

}  // namespace wrenfold
