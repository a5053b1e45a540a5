#pragma once

// An effect, an editor and a frame in a host window on the headless back end, for driving controls
// with scripted input. The harness listens to its controls itself and records, in one list, the
// host's edit gestures (begin/end) and every valueChanged, so tests can check their order.
#include <string>
#include <vector>

#include "base/ModuleState.h"
#include "editor/Skin.h"
#include "editorbase/GraphicEditorBase.h"
#include "gui/Control.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold::testing {

// One thing the harness saw: an edit gesture reaching the host, or a valueChanged.
struct ControlEvent {
  enum Kind { begin, end, change };
  Kind kind;
  int32_t tag;
  float value;
  bool withContext;
};

// The effect of the harness: does nothing but carry the host callback.
class SilentEffect : public ExtendedEffectBase {
 public:
  explicit SilentEffect(audioMasterCallback callback) : ExtendedEffectBase(callback, 1, 20) {}
  void processAdding(float**, float**, int32_t) override {}
};

// The editor of the harness: opens a frame of the given size inside the host window.
class FrameEditor : public GraphicEditorBase {
 public:
  FrameEditor(ExtendedEffectBase* effect, Rect size) : GraphicEditorBase(effect), size(size) {}
  ~FrameEditor() override { closeEditor(); }
  intptr_t openEditor(void* parent) override {
    GraphicEditorBase::openEditor(parent);
    frame = new Frame(size, parent, this);
    return 1;
  }
  void closeEditor() override {
    delete frame;
    frame = nullptr;
  }

 private:
  Rect size;
};

class ControlHarness : public ControlListener {
 public:
  // Places the frame's window at this screen position, so window and screen coordinates differ.
  static constexpr Point screenOrigin{100, 200};

  ControlHarness() {
    headless::reset();
    current() = this;
    hostWindow = headless::createHostWindow(
        Rect(screenOrigin.h, screenOrigin.v, screenOrigin.h + 400, screenOrigin.v + 450));
    effect = new SilentEffect(&ControlHarness::hostCallback);
    editor = new FrameEditor(effect, Rect(0, 0, skin::editorWidth, skin::editorHeight));
    editor->openEditor(hostWindow);
    // Paint the window once and run the idle pump once, so that the pump's next full run is
    // 100 ms of fake clock (some 12 polls) away.
    while (platform::dispatchOnePendingPaint()) {
    }
    editor->idlePump();
  }
  ~ControlHarness() {
    moduleState().knobMode = 0;
    delete effect;  // destroys the editor, its frame and the controls still in it
    headless::destroyHostWindow(hostWindow);
    current() = nullptr;
  }
  ControlHarness(const ControlHarness&) = delete;
  ControlHarness& operator=(const ControlHarness&) = delete;

  // Adds a control to the frame, which then owns it.
  template <class ControlType>
  ControlType* add(ControlType* control) {
    frame()->addView(control);
    return control;
  }

  // Returns the open frame.
  Frame* frame() const { return editor->openFrame(); }
  // Returns the frame's window.
  platform::Window* window() const { return frame()->getWindow(); }

  // Plays a press with `held` (platform input bits) at path[0], moves through the rest of the
  // path, stays one more poll at its end and releases there with `released` held. Window
  // coordinates.
  void gesture(uint32_t held, const std::vector<Point>& path, uint32_t released = 0) {
    headless::setInput(headless::InputState{});
    // The frame reads the buttons once before the control does.
    queueAt(held, path.front());
    queueAt(held, path.front());
    for (std::size_t i = 1; i < path.size(); ++i) queueAt(held, path[i]);
    queueAt(held, path.back());
    queueAt(released, path.back());
    headless::clickWindow(window(), path.front());
  }
  // Returns the points from `from` to `to` in `steps` equal steps.
  static std::vector<Point> straightPath(Point from, Point to, int32_t steps) {
    std::vector<Point> points;
    for (int32_t i = 0; i <= steps; ++i) {
      points.emplace_back(from.h + (to.h - from.h) * i / steps,
                          from.v + (to.v - from.v) * i / steps);
    }
    return points;
  }
  // Draws one view into the frame's window at once, recording the drawing when it is switched on.
  void drawNow(View& view) {
    platform::Surface* surface = platform::acquireWindowSurface(window());
    {
      DrawContext context(frame(), surface, window());
      view.draw(&context);
    }
    platform::releaseWindowSurface(window(), surface);
  }
  // Returns the drawing record of drawing one view.
  std::vector<std::string> drawingOf(View& view) {
    headless::clearDrawingLog();
    headless::recordDrawing(true);
    drawNow(view);
    headless::recordDrawing(false);
    return headless::drawingLog();
  }
  // Plays a script of states (held buttons and window points) after a press at `where`.
  void script(uint32_t held, Point where, const std::vector<headless::InputState>& states) {
    headless::setInput(headless::InputState{});
    queueAt(held, where);
    queueAt(held, where);
    for (const headless::InputState& state : states) queueAt(state.buttons, state.cursor);
    headless::clickWindow(window(), where);
  }
  // Makes the cursor rest at a window point with nothing held.
  void hover(Point where, uint32_t held = 0) { headless::setInput({held, toScreen(where)}); }

  // Returns every recorded event.
  const std::vector<ControlEvent>& events() const { return recorded; }
  // Returns only the values reported through valueChanged.
  std::vector<float> values() const {
    std::vector<float> result;
    for (const ControlEvent& event : recorded)
      if (event.kind == ControlEvent::change) result.push_back(event.value);
    return result;
  }
  // Returns the number of recorded events of a kind.
  int count(ControlEvent::Kind kind) const {
    int n = 0;
    for (const ControlEvent& event : recorded) n += event.kind == kind ? 1 : 0;
    return n;
  }
  // Forgets the recorded events.
  void clear() { recorded.clear(); }

  // Records the change and, like the plug-in's editor, redraws the control at once.
  void valueChanged(DrawContext* context, Control* control) override {
    recorded.push_back(
        {ControlEvent::change, control->getTag(), control->getValue(), context != nullptr});
    if (redrawOnChange && context != nullptr) control->update(context);
  }

  // Whether valueChanged redraws the control, as the plug-in's editor does.
  bool redrawOnChange = true;
  SilentEffect* effect;
  FrameEditor* editor;
  platform::Window* hostWindow;

 private:
  Point toScreen(Point where) const {
    const Rect area = platform::windowScreenRect(window());
    return Point(area.left + where.h, area.top + where.v);
  }
  void queueAt(uint32_t held, Point where) { headless::queueInput(held, toScreen(where)); }

  static ControlHarness*& current() {
    static ControlHarness* harness = nullptr;
    return harness;
  }
  static intptr_t WRENFOLD_CALL hostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t,
                                             void*, float) {
    ControlHarness* harness = current();
    if (harness == nullptr) return 0;
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterBeginEdit)
      harness->recorded.push_back({ControlEvent::begin, index, 0.0f, false});
    if (opcode == audioMasterEndEdit)
      harness->recorded.push_back({ControlEvent::end, index, 0.0f, false});
    return 0;
  }

  std::vector<ControlEvent> recorded;
};

}  // namespace wrenfold::testing
