#pragma once

#include <cstdint>

#include "gui/EditorLink.h"
#include "host/EditorBase.h"

namespace wrenfold {

class Frame;

// An editor drawn by the toolkit: attaches itself to the effect, owns a Frame while open,
// forwards keys, wheel and idle to it, and keeps the host alive while a control tracks the mouse.
// [UI thread]
class GraphicEditorBase : public EditorBase, public EditorLink {
 public:
  explicit GraphicEditorBase(ExtendedEffectBase* effect);
  // Undoes the drop-target initialisation made at construction.
  ~GraphicEditorBase() override;

  // Stores the address of the editor's rectangle in device pixels (rect at the scale the next or
  // current open has); answers 1 even before the editor opens.
  intptr_t editorRect(ERect** rect) override;
  // Requests a refresh, keeps the parent window and fixes the scale of this open; the derived
  // editor creates the frame.
  intptr_t openEditor(void* parent) override;
  // Refreshes when asked to, then redraws the frame's dirty views; does nothing inside the pump.
  void idleEditor() override;
  // Passes a key press to the frame; −1 without one.
  int32_t keyPressed(KeyCode& key) override;
  // Passes a key release to the frame; −1 without one.
  int32_t keyReleased(KeyCode& key) override;
  // Stores the host's knob mode for every editor; answers 1.
  int32_t changeKnobMode(int32_t mode) override;
  // Passes a wheel turn to the view under the cursor; false without a frame.
  bool wheelTurned(float distance) override;

  // Handles a parameter written by the host, a program or the editor itself.
  virtual void parameterChanged(int32_t index, float value);
  // Redraws the frame and all its views at once.
  virtual void redraw(ERect* area);
  // Runs the throttled idle while a control tracks the mouse: editor idle, one paint event,
  // the host's idle.
  virtual void idlePump();

  // Tells the host through the effect that an edit of parameter `tag` begins; nothing once closing.
  void beginEdit(int32_t tag) override;
  // Tells the host through the effect that the edit of parameter `tag` ends; nothing once closing.
  void endEdit(int32_t tag) override;
  // Runs idlePump; answers false once the host closed the editor or the effect meanwhile.
  bool pumpWhileTracking() override;
  // Returns the module's knob mode.
  int32_t knobMode() const override;
  // Counts a click in progress.
  void trackingStarted() override;
  // Ends a click; the outermost one finishes a close the host asked for during it.
  void trackingFinished() override;
  // Returns whether a click is being handled, so that closing must wait for it.
  bool isTracking() const override { return trackingDepth > 0; }

  // Returns the open frame, or null when closed.
  Frame* openFrame() const { return frame; }
  // Returns the scale of the current open, or the one the next open will have.
  float editorScale();

 protected:
  // The editor's rectangle in editor pixels, set by the derived editor.
  ERect rect;
  Frame* frame;
  // Lets the next open choose its scale afresh; the derived editor calls it once closed.
  void releaseScale() { openScale = 0; }
  // Defers a close asked for while a click is being handled to the click's end; answers true
  // when it did, and the derived editor's closeEditor then returns at once.
  bool deferCloseWhileTracking();
  // Returns whether the host closed the editor or the effect during the current click.
  bool isClosing() const;

  uint32_t nextIdleTick;
  bool inIdlePump;

 private:
  // Returns openScale, choosing it for a window in `parent` (null: not known yet) when not chosen.
  float fixedScale(void* parent);

  // rect at openScale, as answered to the host.
  ERect deviceRect;
  // The scale fixed for the current or next open; 0 until chosen.
  float openScale;
  int32_t trackingDepth;
  bool closeDeferred;
};

}  // namespace wrenfold
