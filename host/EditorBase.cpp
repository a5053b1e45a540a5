#include "host/EditorBase.h"

namespace wrenfold {

EditorBase::EditorBase(ExtendedEffectBase* effect)
    : effect(effect), parentWindow(nullptr), updatePending(0) {}

EditorBase::~EditorBase() = default;

intptr_t EditorBase::editorRect(ERect** rect) {
  if (rect != nullptr) *rect = nullptr;
  return 0;
}

intptr_t EditorBase::openEditor(void* parent) {
  parentWindow = parent;
  return 0;
}

void EditorBase::closeEditor() {}

void EditorBase::idleEditor() {
  if (updatePending.exchange(0) != 0) refresh();
}

void EditorBase::refresh() {}

void EditorBase::requestRefresh() { updatePending.store(1); }

int32_t EditorBase::keyPressed(KeyCode&) { return -1; }

int32_t EditorBase::keyReleased(KeyCode&) { return -1; }

int32_t EditorBase::changeKnobMode(int32_t) { return 0; }

bool EditorBase::wheelTurned(float) { return false; }

}  // namespace wrenfold
