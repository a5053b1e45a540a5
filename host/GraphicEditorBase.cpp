#include "host/GraphicEditorBase.h"

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/platform/platform.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold {

int32_t globalKnobMode = 0;

namespace {

constexpr uint32_t pumpSleepMilliseconds = 4;
constexpr uint32_t pumpEarlyMilliseconds = 50;
constexpr uint32_t pumpIntervalMilliseconds = 100;

}  // namespace

GraphicEditorBase::GraphicEditorBase(ExtendedEffectBase* effect)
    : EditorBase(effect), rect{0, 0, 0, 0}, frame(nullptr), nextIdleTick(0), inIdlePump(false) {
  if (effect != nullptr) effect->attachEditor(this);
  parentWindow = nullptr;
  nextIdleTick = platform::tickCount();
  platform::initializeThreadServices();
}

GraphicEditorBase::~GraphicEditorBase() { platform::releaseThreadServices(); }

intptr_t GraphicEditorBase::editorRect(ERect** where) {
  if (where == nullptr) return 0;
  *where = &rect;
  return 1;
}

intptr_t GraphicEditorBase::openEditor(void* parent) {
  requestRefresh();
  parentWindow = parent;
  return 0;
}

void GraphicEditorBase::idleEditor() {
  if (inIdlePump) return;
  // Paints, clicks and the host destroying its window arrive here, in the host's idle call.
  if (frame != nullptr) platform::dispatchPendingEvents();
  if (updatePending != 0) {
    updatePending = 0;
    refresh();
  }
  if (frame != nullptr) frame->redrawDirtyViews();
}

int32_t GraphicEditorBase::keyPressed(KeyCode& key) {
  return frame != nullptr ? frame->onKeyDown(key) : -1;
}

int32_t GraphicEditorBase::keyReleased(KeyCode& key) {
  return frame != nullptr ? frame->onKeyUp(key) : -1;
}

int32_t GraphicEditorBase::changeKnobMode(int32_t mode) {
  globalKnobMode = mode;
  return 1;
}

bool GraphicEditorBase::wheelTurned(float distance) {
  if (frame == nullptr) return false;
  Point where{0, 0};
  return frame->onWheel(nullptr, where, distance);
}

void GraphicEditorBase::parameterChanged(int32_t, float) { requestRefresh(); }

void GraphicEditorBase::redraw(ERect*) {
  if (frame == nullptr || frame->getWindow() == nullptr) return;
  platform::Window* window = frame->getWindow();
  platform::Surface* surface = platform::acquireWindowSurface(window);
  if (surface == nullptr) return;
  {
    DrawContext context(frame, surface, window);
    frame->draw(&context);
  }
  platform::releaseWindowSurface(window, surface);
}

void GraphicEditorBase::idlePump() {
  // Tick arithmetic wraps modulo 2^32 like the platform's tick count.
  uint32_t now = platform::tickCount();
  if (now < nextIdleTick) {
    platform::sleepMilliseconds(pumpSleepMilliseconds);
    now += pumpSleepMilliseconds;
    if (now < nextIdleTick - pumpEarlyMilliseconds) return;
  }
  idleEditor();
  platform::dispatchOnePendingPaint();
  nextIdleTick = now + pumpIntervalMilliseconds;
  inIdlePump = true;
  if (effect != nullptr) effect->hostIdle();
  inIdlePump = false;
}

}  // namespace wrenfold
