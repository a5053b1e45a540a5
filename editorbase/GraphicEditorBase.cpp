#include "editorbase/GraphicEditorBase.h"

#include <cmath>

#include "base/ModuleState.h"
#include "gui/DrawContext.h"
#include "gui/EditorScale.h"
#include "gui/Frame.h"
#include "gui/platform/platform.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold {

namespace {

constexpr uint32_t pumpSleepMilliseconds = 4;
constexpr uint32_t pumpEarlyMilliseconds = 50;
constexpr uint32_t pumpIntervalMilliseconds = 100;

// Returns how many milliseconds `next` lies ahead of `now` on the wrapping 32-bit tick count, or 0
// when it is due. A tick further ahead than one pump interval cannot have been set by the last run:
// it is stale (the pump was not called for weeks), and counts as due too.
uint32_t millisecondsUntil(uint32_t next, uint32_t now) {
  const uint32_t ahead = next - now;
  return ahead <= pumpIntervalMilliseconds ? ahead : 0;
}

}  // namespace

GraphicEditorBase::GraphicEditorBase(ExtendedEffectBase* effect)
    : EditorBase(effect),
      rect{0, 0, 0, 0},
      frame(nullptr),
      nextIdleTick(0),
      inIdlePump(false),
      deviceRect{0, 0, 0, 0},
      openScale(0),
      trackingDepth(0),
      closeDeferred(false) {
  if (effect != nullptr) effect->attachEditor(this);
  parentWindow = nullptr;
  nextIdleTick = platform::tickCount();
}

GraphicEditorBase::~GraphicEditorBase() = default;

intptr_t GraphicEditorBase::editorRect(ERect** where) {
  if (where == nullptr) return 0;
  const float scale = editorScale();
  auto scaled = [scale](int16_t edge) { return static_cast<int16_t>(std::lround(edge * scale)); };
  deviceRect = ERect{scaled(rect.top), scaled(rect.left), scaled(rect.bottom), scaled(rect.right)};
  *where = &deviceRect;
  return 1;
}

intptr_t GraphicEditorBase::openEditor(void* parent) {
  requestRefresh();
  parentWindow = parent;
  fixedScale(parent);
  return 0;
}

float GraphicEditorBase::editorScale() { return fixedScale(nullptr); }

float GraphicEditorBase::fixedScale(void* parent) {
  // A host's scale given while closed counts for the next open; one given while open waits.
  if (frame == nullptr && hostScaleChanged.exchange(false)) openScale = 0;
  if (openScale == 0) openScale = EditorScale::choose(hostScale.load(), parent);
  return openScale;
}

void GraphicEditorBase::idleEditor() {
  if (inIdlePump) return;
  // Paints, clicks and the host destroying its window arrive here, in the host's idle call.
  if (frame != nullptr) platform::dispatchPendingEvents();
  if (updatePending.exchange(0) != 0) refresh();
  if (frame != nullptr) frame->redrawDirtyViews();
}

int32_t GraphicEditorBase::keyPressed(KeyCode& key) {
  return frame != nullptr ? frame->onKeyDown(key) : -1;
}

int32_t GraphicEditorBase::keyReleased(KeyCode& key) {
  return frame != nullptr ? frame->onKeyUp(key) : -1;
}

int32_t GraphicEditorBase::changeKnobMode(int32_t mode) {
  moduleState().knobMode = mode;
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
  uint32_t now = platform::tickCount();
  if (millisecondsUntil(nextIdleTick, now) > 0) {
    platform::sleepMilliseconds(pumpSleepMilliseconds);
    now += pumpSleepMilliseconds;
    if (millisecondsUntil(nextIdleTick, now) > pumpEarlyMilliseconds) return;
  }
  idleEditor();
  platform::dispatchOnePendingPaint();
  nextIdleTick = now + pumpIntervalMilliseconds;
  inIdlePump = true;
  if (effect != nullptr) effect->hostIdle();
  inIdlePump = false;
}

bool GraphicEditorBase::isClosing() const {
  return closeDeferred || (effect != nullptr && effect->isClosePending());
}

void GraphicEditorBase::beginEdit(int32_t tag) {
  if (effect != nullptr && !isClosing()) effect->hostBeginEdit(tag);
}

void GraphicEditorBase::endEdit(int32_t tag) {
  if (effect != nullptr && !(effect->isClosePending())) effect->hostEndEdit(tag);
}

bool GraphicEditorBase::pumpWhileTracking() {
  idlePump();
  return !isClosing();
}

int32_t GraphicEditorBase::knobMode() const { return moduleState().knobMode; }

void GraphicEditorBase::trackingStarted() { ++trackingDepth; }

void GraphicEditorBase::trackingFinished() {
  if (trackingDepth > 0) --trackingDepth;
  if (trackingDepth > 0) return;
  if (effect != nullptr && effect->isClosePending()) {
    // The host closed the effect from inside its idle call; now that no control is tracking,
    // the effect, this editor and its frame can go.
    delete effect;
    return;
  }
  if (closeDeferred) {
    closeDeferred = false;
    closeEditor();
  }
}

bool GraphicEditorBase::deferCloseWhileTracking() {
  if (trackingDepth == 0) return false;
  closeDeferred = true;
  return true;
}

}  // namespace wrenfold
