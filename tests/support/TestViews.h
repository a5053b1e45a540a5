#pragma once

// Views and controls that count what the toolkit does to them, for view-logic tests.

#include <cstdint>
#include <string>
#include <vector>

#include "gui/Control.h"
#include "gui/View.h"

namespace wrenfold {
namespace testsupport {

// Everything a CountingView or CountingControl saw, shared so it outlives the view.
struct ViewLog {
  int draws = 0;
  int areaDraws = 0;
  int clicks = 0;
  int focusLosses = 0;
  int attached = 0;
  int removed = 0;
  int destroyed = 0;
  int wheels = 0;
  float lastWheel = 0.0f;
  Point lastWhere;
  DrawContext* lastContext = nullptr;
  std::vector<std::string>* order = nullptr;  // when set, each event appends "<name> <event>"
};

// A view that records its calls and answers keys and drops as configured.
class CountingView : public View {
 public:
  // Makes a view that records into `log` under `name`.
  CountingView(const Rect& size, ViewLog& log, std::string name = "view")
      : View(size), record(log), viewName(std::move(name)) {}
  // Counts the destruction.
  ~CountingView() override { ++record.destroyed; }

  // Counts the draw and marks the view clean.
  void draw(DrawContext* context) override {
    ++record.draws;
    record.lastContext = context;
    note("draw");
    View::draw(context);
  }
  // Counts the partial draw and draws.
  void drawArea(DrawContext* context, Rect area) override {
    ++record.areaDraws;
    View::drawArea(context, area);
  }
  // Counts the click.
  void onMouseDown(DrawContext* context, Point& where) override {
    ++record.clicks;
    record.lastWhere = where;
    record.lastContext = context;
    note("click");
  }
  // Answers the configured key answer.
  int32_t onKeyDown(KeyCode&) override {
    note("keyDown");
    return keyAnswer;
  }
  // Answers the configured key answer.
  int32_t onKeyUp(KeyCode&) override {
    note("keyUp");
    return keyAnswer;
  }
  // Answers the configured drop answer.
  bool onDrop(void**, int32_t, int32_t, Point& where) override {
    record.lastWhere = where;
    note("drop");
    return dropAnswer;
  }
  // Records the wheel turn and answers true.
  bool onWheel(DrawContext* context, Point& where, float distance) override {
    ++record.wheels;
    record.lastWheel = distance;
    record.lastWhere = where;
    record.lastContext = context;
    note("wheel");
    return true;
  }
  // Counts the focus loss.
  void loseFocus(DrawContext*) override {
    ++record.focusLosses;
    note("loseFocus");
  }
  // Counts the removal.
  bool onRemoved(View* parent) override {
    ++record.removed;
    return View::onRemoved(parent);
  }
  // Counts the attachment.
  bool onAttached(View* parent) override {
    ++record.attached;
    return View::onAttached(parent);
  }
  // Overwrites the reference count, to reach states the public interface cannot.
  void forceRefCount(int32_t count) { refCount = count; }

  int32_t keyAnswer = -1;
  bool dropAnswer = false;

 private:
  void note(const char* event) {
    if (record.order != nullptr) record.order->push_back(viewName + " " + event);
  }

  ViewLog& record;
  std::string viewName;
};

// A concrete control that counts draws and destruction.
class CountingControl : public Control {
 public:
  // Makes a control recording into `log`.
  CountingControl(const Rect& size, ViewLog& log, ControlListener* listener = nullptr,
                  int32_t tag = 0, Bitmap* background = nullptr)
      : Control(size, listener, tag, background), record(log) {}
  // Counts the destruction.
  ~CountingControl() override { ++record.destroyed; }

  // Counts the draw and records the value as drawn.
  void draw(DrawContext*) override {
    ++record.draws;
    setDirty(false);
  }

 private:
  ViewLog& record;
};

}  // namespace testsupport
}  // namespace wrenfold
