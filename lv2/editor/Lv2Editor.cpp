#include "lv2/editor/Lv2Editor.h"

#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstring>

#include "editorbase/GraphicEditorBase.h"
#include "gui/Frame.h"
#include "gui/platform/x11/X11State.h"
#include "lv2/Lv2Effect.h"
#include "lv2/PortUnits.h"
#include "plugin/DelayPlugin.h"

namespace wrenfold {

namespace {

// The host's interface version the effect is told.
constexpr intptr_t hostInterfaceVersion = 2400;

// Returns the feature of a URI among the host's, or null.
void* featureData(const LV2_Feature* const* features, const char* uri) {
  for (int32_t i = 0; features != nullptr && features[i] != nullptr; ++i)
    if (std::strcmp(features[i]->URI, uri) == 0) return features[i]->data;
  return nullptr;
}

// Returns the scale factor among the host's options, 0 when it gives none.
float scaleOption(const LV2_Feature* const* features) {
  const auto* options =
      static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
  const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
  if (options == nullptr || map == nullptr) return 0.0f;
  const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
  const LV2_URID floatType = map->map(map->handle, "http://lv2plug.in/ns/ext/atom#Float");
  for (const LV2_Options_Option* option = options; option->key != 0; ++option) {
    if (option->key == scaleFactor && option->type == floatType && option->size == sizeof(float))
      return *static_cast<const float*>(option->value);
  }
  return 0.0f;
}

}  // namespace

Lv2Editor::Lv2Editor(LV2UI_Write_Function write, LV2UI_Controller owner,
                     const LV2_Feature* const* features)
    : writePort(write), controller(owner) {
  parent = featureData(features, LV2_UI__parent);
  touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
  resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
  hostScale = scaleOption(features);
  plugin = new DelayPlugin(hostCallback);
  plugin->effectRecord()->user = this;
  for (int32_t i = 0; i < parameterCountTotal; ++i)
    portValues[i] = portValueOf(i, plugin->parameterValue(i));
}

Lv2Editor::~Lv2Editor() {
  plugin->dispatch(effEditClose, 0, 0, nullptr, 0.0f);
  delete plugin;
}

bool Lv2Editor::open(LV2UI_Widget* widget) {
  if (parent == nullptr || !plugin->isComplete() || plugin->attachedEditor() == nullptr)
    return false;
  auto* editor = static_cast<GraphicEditorBase*>(plugin->attachedEditor());
  // The host's scale, taken before the open: the editor's own scale rules apply without it.
  if (hostScale > 0.0f) editor->takeHostScale(hostScale);
  if (plugin->dispatch(effEditOpen, 0, 0, parent, 0.0f) == 0 || editor->openFrame() == nullptr)
    return false;
  *widget =
      reinterpret_cast<LV2UI_Widget>(static_cast<uintptr_t>(editor->openFrame()->getWindow()->id));
  // The host sizes its window to the editor's, at the scale of this open.
  ERect* size = nullptr;
  if (resize != nullptr && editor->editorRect(&size) != 0 && size != nullptr)
    resize->ui_resize(resize->handle, size->right - size->left, size->bottom - size->top);
  return true;
}

void Lv2Editor::portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
  const uint32_t index = port - Lv2Effect::firstControlPort;
  if (format != 0 || bufferSize != sizeof(float) || port < Lv2Effect::firstControlPort ||
      index >= static_cast<uint32_t>(parameterCountTotal))
    return;
  const float value = *static_cast<const float*>(buffer);
  if (value == portValues[index]) return;
  portValues[index] = value;
  float normalised = 0.0f;
  if (normalisedFor(static_cast<int32_t>(index), value, plugin->parameterValue(index), normalised))
    plugin->applyParameter(static_cast<int32_t>(index), normalised);
}

int Lv2Editor::idle() {
  plugin->dispatch(effEditIdle, 0, 0, nullptr, 0.0f);
  return 0;
}

void Lv2Editor::controlMoved(int32_t index, float normalised) {
  if (!isParameterIndex(index)) return;
  const float value = portValueOf(index, normalised);
  portValues[index] = value;
  writePort(controller, Lv2Effect::firstControlPort + static_cast<uint32_t>(index), sizeof value, 0,
            &value);
}

void Lv2Editor::touchPort(int32_t index, bool grabbed) {
  if (touch != nullptr && isParameterIndex(index))
    touch->touch(touch->handle, Lv2Effect::firstControlPort + static_cast<uint32_t>(index),
                 grabbed);
}

intptr_t WRENFOLD_CALL Lv2Editor::hostCallback(AEffect* effect, int32_t opcode, int32_t index,
                                               intptr_t, void*, float opt) {
  if (opcode == audioMasterVersion) return hostInterfaceVersion;
  auto* editor = effect != nullptr ? static_cast<Lv2Editor*>(effect->user) : nullptr;
  if (editor == nullptr) return 0;
  switch (opcode) {
    case audioMasterAutomate:
      editor->controlMoved(index, opt);
      return 1;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
      editor->touchPort(index, opcode == audioMasterBeginEdit);
      return 1;
    default:
      return 0;
  }
}

}  // namespace wrenfold
