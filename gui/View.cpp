#include "gui/View.h"

#include "gui/Frame.h"

namespace wrenfold {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

View::View(const Rect& size)
    : refCount(1),
      bounds(size),
      mouseArea(size),
      parentFrame(nullptr),
      parentView(nullptr),
      dirty(false),
      mouseEnabled(true),
      transparent(false) {}

View::~View() = default;

void View::draw(DrawContext*) { setDirty(false); }

void View::drawArea(DrawContext* context, Rect) { draw(context); }

bool View::overlaps(Rect area) { return bounds.overlaps(area); }

void View::onMouseDown(DrawContext*, Point&) {}

void View::update(DrawContext* context) {
  if (isDirty()) {
    draw(context);
    setDirty(false);
  }
}

int32_t View::notify(View*, const char*) { return 0; }

int32_t View::onKeyDown(KeyCode&) { return -1; }

int32_t View::onKeyUp(KeyCode&) { return -1; }

bool View::onDrop(void**, int32_t, int32_t, Point&) { return false; }

bool View::onWheel(DrawContext*, Point&, float) { return false; }

void View::loseFocus(DrawContext*) {}

void View::takeFocus(DrawContext*) {}

bool View::isDirty() { return dirty; }

void View::setDirty(bool state) { dirty = state; }

void View::setMouseEnabled(bool state) { mouseEnabled = state; }

bool View::isMouseEnabled() { return mouseEnabled; }

void View::setMouseArea(Rect area) { mouseArea = area; }

void View::getMouseArea(Rect& area) { area = mouseArea; }

bool View::hitTest(Point& where, MouseButtons) { return bounds.contains(where); }

void View::setTransparent(bool state) { transparent = state; }

bool View::isTransparent() { return transparent; }

void View::setBounds(Rect size) {
  bounds = size;
  setDirty(true);
}

void View::getBounds(Rect& size) { size = bounds; }

void View::setParentView(View* parent) { parentView = parent; }

void View::setParentFrame(Frame* frame) { parentFrame = frame; }

EditorLink* View::getEditor() {
  return parentFrame != nullptr ? parentFrame->getEditor() : nullptr;
}

bool View::onRemoved(View*) { return true; }

bool View::onAttached(View*) { return true; }

void View::release() {
  if (refCount <= 0) return;
  if (--refCount == 0) delete this;
}

void View::addRef() { ++refCount; }

int32_t View::getRefCount() { return refCount; }

}  // namespace wrenfold
