#include "host/EditorBase.h"

#include <cmath>

namespace wrenfold {

EditorBase::EditorBase(ExtendedEffectBase* effect)
    : effect(effect),
      parentWindow(nullptr),
      updatePending(0),
      hostScale(0.0f),
      hostScaleChanged(false) {}

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

bool EditorBase::takeHostScale(float factor) {
  if (!std::isfinite(factor) || factor <= 0) return false;
  hostScale.store(factor);
  hostScaleChanged.store(true);
  return true;
}

}  // namespace wrenfold
