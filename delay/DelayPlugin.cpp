#include "delay/DelayPlugin.h"

#include "host/EditorBase.h"

namespace wrenfold {

DelayPlugin::DelayPlugin(audioMasterCallback hostCallback) : DelayEffect(hostCallback) {
  assignUniqueId(fourCharCode('Q', 'W', 'N', '3'));
}

DelayPlugin::~DelayPlugin() {
  delete editor;
  editor = nullptr;
}

void DelayPlugin::applyParameter(int32_t index, float value) {
  DelayEffect::applyParameter(index, value);
}

}  // namespace wrenfold
