#include "gui/Frame.h"

#include <cstdint>

#include "base/Allocation.h"
#include "base/ModuleState.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/EditorLink.h"
#include "gui/platform/platform.h"

namespace wrenfold {

namespace {

constexpr int32_t viewArrayGrowth = 20;
constexpr MouseButtons allMouseButtons = -1;

}  // namespace

Frame::Frame(const Rect& size, void* parent, EditorLink* owner, float scale)
    : View(size),
      editor(owner),
      parentWindow(parent),
      background(nullptr),
      viewCount(0),
      viewCapacity(0),
      views(nullptr),
      focusView(nullptr),
      firstDrawPending(true),
      isOpen(true),
      dropRegistered(false),
      window(nullptr) {
  platform::acquireDisplay();
  createWindow(parent, scale);
}

Frame::~Frame() {
  if (dropRegistered && window != nullptr && isOpen) {
    platform::revokeDropTarget(window);
    dropRegistered = false;
  }
  removeAll(true);
  if (background != nullptr) background->release();
  background = nullptr;
  // The frame's use of the window system ends before its window goes, as on Windows the thread's
  // object services and the image library are given back first; a back end that closes its
  // connection here has destroyed the window with it, and a window already gone with the host's
  // window is only forgotten.
  platform::releaseDisplay();
  if (window != nullptr) platform::destroyWindow(window);
  window = nullptr;
}

void Frame::createWindow(void* parent, float scale) {
  if (parent == nullptr) return;
  window = platform::createChildWindow(parent, Rect(0, 0, bounds.width(), bounds.height()),
                                       "Window", windowHandler(), this, scale);
  if (window == nullptr) return;
  dropRegistered = platform::registerDropTarget(window);
}

void Frame::handlePaint(platform::Window* window, void* userData, platform::Surface* surface,
                        Rect area) {
  Frame* frame = static_cast<Frame*>(userData);
  DrawContext context(frame, surface, window);
  frame->drawArea(&context, area);
}

void Frame::handleButtonDown(platform::Window* window, void* userData, Point where) {
  Frame* frame = static_cast<Frame*>(userData);
  EditorLink* link = frame->editor;
  if (link != nullptr) link->trackingStarted();
  platform::Surface* surface = platform::acquireWindowSurface(window);
  {
    DrawContext context(frame, surface, window);
    frame->onMouseDown(&context, where);
  }
  if (surface != nullptr) platform::releaseWindowSurface(window, surface);
  // May finish a close the host asked for during the click, destroying this frame.
  if (link != nullptr) link->trackingFinished();
}

// The window's own wheel takes the road a host-forwarded one takes, with a context on the window.
bool Frame::handleWheel(platform::Window* window, void* userData, Point where, float distance) {
  Frame* frame = static_cast<Frame*>(userData);
  EditorLink* link = frame->editor;
  if (link != nullptr) link->trackingStarted();
  platform::Surface* surface = platform::acquireWindowSurface(window);
  bool taken;
  {
    DrawContext context(frame, surface, window);
    taken = frame->onWheel(&context, where, distance);
  }
  if (surface != nullptr) platform::releaseWindowSurface(window, surface);
  // May finish a close the host asked for while the change was reported, destroying this frame.
  if (link != nullptr) link->trackingFinished();
  return taken;
}

void Frame::handleDestroyed(platform::Window*, void* userData) {
  Frame* frame = static_cast<Frame*>(userData);
  frame->isOpen = false;
  frame->parentWindow = nullptr;
}

bool Frame::handleDrop(platform::Window*, void* userData, void** items, int32_t count, int32_t type,
                       Point where) {
  return static_cast<Frame*>(userData)->onDrop(items, count, type, where);
}

void Frame::draw(DrawContext* context) {
  firstDrawPending = false;
  if (background != nullptr) {
    background->draw(context, Rect(0, 0, background->getWidth(), background->getHeight()),
                     Point(0, 0));
  }
  for (int32_t i = 0; i < viewCount; ++i) views[i]->draw(context);
}

void Frame::drawArea(DrawContext* context, Rect area) {
  firstDrawPending = false;
  if (background != nullptr) background->draw(context, area, area.topLeft());
  for (int32_t i = 0; i < viewCount; ++i) {
    if (views[i]->overlaps(area)) views[i]->drawArea(context, area);
  }
}

void Frame::update(DrawContext* context) {
  if (!isOpen) return;
  if (View::isDirty()) {
    draw(context);
    setDirty(false);
    return;
  }
  for (int32_t i = 0; i < viewCount; ++i) views[i]->update(context);
}

bool Frame::hasDirtyView() {
  if (View::isDirty()) return true;
  for (int32_t i = 0; i < viewCount; ++i) {
    if (views[i]->isDirty()) return true;
  }
  return false;
}

void Frame::redrawDirtyViews() {
  if (!isOpen || firstDrawPending) return;
  if (!hasDirtyView()) return;
  platform::Surface* surface = window != nullptr ? platform::acquireWindowSurface(window) : nullptr;
  {
    DrawContext context(this, surface, window);
    update(&context);
  }
  if (surface != nullptr) platform::releaseWindowSurface(window, surface);
}

void Frame::onMouseDown(DrawContext* context, Point& where) {
  if (focusView != nullptr) {
    focusView->loseFocus(nullptr);
    focusView = nullptr;
  }
  MouseButtons buttons = context != nullptr ? context->readMouseButtons() : allMouseButtons;
  for (int32_t i = viewCount - 1; i >= 0; --i) {
    View* view = views[i];
    if (view->isMouseEnabled() && view->hitTest(where, buttons)) {
      view->onMouseDown(context, where);
      return;
    }
  }
}

int32_t Frame::onKeyDown(KeyCode& key) {
  if (focusView != nullptr) {
    int32_t answer = focusView->onKeyDown(key);
    if (answer != -1) return answer;
  }
  for (int32_t i = viewCount - 1; i >= 0; --i) {
    int32_t answer = views[i]->onKeyDown(key);
    if (answer != -1) return answer;
  }
  return -1;
}

int32_t Frame::onKeyUp(KeyCode& key) {
  if (focusView != nullptr) {
    int32_t answer = focusView->onKeyUp(key);
    if (answer != -1) return answer;
  }
  for (int32_t i = viewCount - 1; i >= 0; --i) {
    int32_t answer = views[i]->onKeyUp(key);
    if (answer != -1) return answer;
  }
  return -1;
}

bool Frame::onDrop(void** items, int32_t count, int32_t type, Point& where) {
  if (focusView != nullptr) return false;
  for (int32_t i = viewCount - 1; i >= 0; --i) {
    View* view = views[i];
    if (view->isMouseEnabled() && view->boundsRect().contains(where) &&
        view->onDrop(items, count, type, where)) {
      return true;
    }
  }
  return false;
}

bool Frame::onWheel(DrawContext* context, Point& where, float distance) {
  View* target = viewUnderCursor();
  if (target == nullptr) return false;
  cursorLocation(where);
  if (context != nullptr) return target->onWheel(context, where, distance);
  platform::Surface* surface = window != nullptr ? platform::acquireWindowSurface(window) : nullptr;
  bool answer;
  {
    DrawContext own(this, surface, window);
    answer = target->onWheel(&own, where, distance);
  }
  if (surface != nullptr) platform::releaseWindowSurface(window, surface);
  return answer;
}

EditorLink* Frame::getEditor() { return editor; }

bool Frame::addView(View* view) {
  if (viewCount == viewCapacity) {
    View** grown = allocateArray<View*>(AllocationSite::view,
                                        static_cast<std::size_t>(viewCapacity + viewArrayGrowth));
    if (grown == nullptr) return false;
    for (int32_t i = 0; i < viewCount; ++i) grown[i] = views[i];
    delete[] views;
    views = grown;
    viewCapacity += viewArrayGrowth;
  }
  views[viewCount++] = view;
  view->setParentFrame(this);
  view->onAttached(this);
  return true;
}

bool Frame::removeView(View* view, bool withRelease) {
  for (int32_t i = 0; i < viewCount; ++i) {
    if (views[i] != view) continue;
    for (int32_t j = i; j + 1 < viewCount; ++j) views[j] = views[j + 1];
    --viewCount;
    // A removed view must not stay behind as the focus view.
    if (focusView == view) focusView = nullptr;
    view->onRemoved(this);
    view->setParentFrame(nullptr);
    if (withRelease) view->release();
    break;
  }
  return true;
}

bool Frame::removeAll(bool withRelease) {
  if (focusView != nullptr) {
    focusView->loseFocus(nullptr);
    focusView = nullptr;
  }
  View** removed = views;
  int32_t removedCount = viewCount;
  views = nullptr;
  viewCount = 0;
  viewCapacity = 0;
  for (int32_t i = 0; i < removedCount; ++i) {
    removed[i]->onRemoved(this);
    removed[i]->setParentFrame(nullptr);
    if (withRelease) removed[i]->release();
  }
  delete[] removed;
  return true;
}

bool Frame::isChild(View* view) {
  for (int32_t i = 0; i < viewCount; ++i) {
    if (views[i] == view) return true;
  }
  return false;
}

int32_t Frame::getViewCount() { return viewCount; }

View* Frame::getView(int32_t index) {
  return index >= 0 && index < viewCount ? views[index] : nullptr;
}

void Frame::setBackground(Bitmap* bitmap) {
  // Taking the new reference first keeps a bitmap alive when it replaces itself.
  if (bitmap != nullptr) bitmap->addRef();
  if (background != nullptr) background->release();
  background = bitmap;
}

void Frame::setFocusedView(View* view) {
  View* previous = focusView;
  focusView = view;
  if (previous != nullptr) previous->loseFocus(nullptr);
}

View* Frame::viewUnderCursor() {
  Point where;
  cursorLocation(where);
  for (int32_t i = viewCount - 1; i >= 0; --i) {
    if (views[i]->boundsRect().contains(where)) return views[i];
  }
  return nullptr;
}

bool Frame::cursorLocation(Point& where) {
  where = platform::cursorScreenPosition();
  if (window != nullptr) {
    Point origin = platform::windowScreenRect(window).topLeft();
    where = platform::editorPoint(window, Point(where.h - origin.h, where.v - origin.v));
  }
  return true;
}

int32_t Frame::currentKnobMode() const {
  return editor != nullptr ? editor->knobMode() : moduleState().knobMode;
}

void Frame::beginParameterEdit(int32_t tag) {
  if (editor != nullptr) editor->beginEdit(tag);
}

void Frame::endParameterEdit(int32_t tag) {
  if (editor != nullptr) editor->endEdit(tag);
}

const platform::WindowHandler* Frame::windowHandler() {
  static const platform::WindowHandler handler = {&Frame::handlePaint, &Frame::handleButtonDown,
                                                  &Frame::handleDestroyed, &Frame::handleDrop,
                                                  &Frame::handleWheel};
  return &handler;
}

}  // namespace wrenfold
