// The LV2 bundle's binary: the plug-in's descriptor and its editor's. No exception crosses into
// the host; a failure answers null.
#include <lv2/core/lv2.h>
#include <lv2/worker/worker.h>

#include <cstring>
#include <new>

#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"

namespace wrenfold {

namespace {

Lv2Effect* effectOf(LV2_Handle handle) { return static_cast<Lv2Effect*>(handle); }

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
  try {
    Lv2Effect* effect = new (std::nothrow) Lv2Effect(rate, features);
    if (effect != nullptr && !effect->isComplete()) {
      delete effect;
      return nullptr;
    }
    return effect;
  } catch (...) {
    return nullptr;
  }
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
  effectOf(handle)->connectPort(port, data);
}

void activate(LV2_Handle) {}

void run(LV2_Handle handle, uint32_t frames) { effectOf(handle)->run(frames); }

void deactivate(LV2_Handle handle) { effectOf(handle)->deactivate(); }

void cleanup(LV2_Handle handle) { delete effectOf(handle); }

LV2_Worker_Status work(LV2_Handle handle, LV2_Worker_Respond_Function respond,
                       LV2_Worker_Respond_Handle respondHandle, uint32_t size, const void* data) {
  try {
    return effectOf(handle)->work(respond, respondHandle, size, data);
  } catch (...) {
    return LV2_WORKER_ERR_NO_SPACE;
  }
}

LV2_Worker_Status workResponse(LV2_Handle handle, uint32_t size, const void* data) {
  return effectOf(handle)->workResponse(size, data);
}

const LV2_Worker_Interface workerInterface = {work, workResponse, nullptr};

const void* extensionData(const char* uri) {
  return std::strcmp(uri, LV2_WORKER__interface) == 0 ? &workerInterface : nullptr;
}

const LV2_Descriptor descriptor = {WRENFOLD_LV2_URI, instantiate, connectPort,  activate, run,
                                   deactivate,       cleanup,     extensionData};

}  // namespace

}  // namespace wrenfold

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(
    uint32_t index) {
  return index == 0 ? &wrenfold::descriptor : nullptr;
}

// ---- the editor ----

#include <lv2/ui/ui.h>

#include "lv2/editor/Lv2Editor.h"

namespace wrenfold {

namespace {

Lv2Editor* editorOf(LV2UI_Handle handle) { return static_cast<Lv2Editor*>(handle); }

LV2UI_Handle instantiateEditor(const LV2UI_Descriptor*, const char*, const char*,
                               LV2UI_Write_Function write, LV2UI_Controller controller,
                               LV2UI_Widget* widget, const LV2_Feature* const* features) {
  try {
    auto* editor = new Lv2Editor(write, controller, features);
    if (!editor->open(widget)) {
      delete editor;
      return nullptr;
    }
    return editor;
  } catch (...) {
    return nullptr;
  }
}

void cleanupEditor(LV2UI_Handle handle) { delete editorOf(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  try {
    editorOf(handle)->portEvent(port, size, format, buffer);
  } catch (...) {
  }
}

int idleEditor(LV2UI_Handle handle) { return editorOf(handle)->idle(); }

const LV2UI_Idle_Interface idleInterface = {idleEditor};

const void* editorExtensionData(const char* uri) {
  return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr;
}

const LV2UI_Descriptor editorDescriptor = {WRENFOLD_LV2_UI_URI, instantiateEditor, cleanupEditor,
                                           portEvent, editorExtensionData};

}  // namespace

}  // namespace wrenfold

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(
    uint32_t index) {
  return index == 0 ? &wrenfold::editorDescriptor : nullptr;
}
