#pragma once

#include <cstdint>

#include "host/EditorBase.h"

namespace wrenfold {

class Frame;

// The host's knob mode, shared by every editor of the module; knobs read it.
extern int32_t globalKnobMode;
// The knob mode in which knobs follow straight mouse movement instead of circling.
constexpr int32_t linearKnobMode = 2;

// An editor drawn by the toolkit: attaches itself to the effect, owns a Frame while open,
// forwards keys, wheel and idle to it, and keeps the host alive while a control tracks the mouse.
// [UI thread]
class GraphicEditorBase : public EditorBase {
 public:
  explicit GraphicEditorBase(ExtendedEffectBase* effect);
  // Undoes the drop-target initialisation made at construction.
  ~GraphicEditorBase() override;

  // Stores the address of rect; answers 1 even before the editor opens.
  intptr_t editorRect(ERect** rect) override;
  // Requests a refresh and keeps the parent window; the derived editor creates the frame.
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

  // Returns the open frame, or null when closed.
  Frame* openFrame() const { return frame; }
  // Returns the editor's size.
  const ERect& editorSize() const { return rect; }

 protected:
  ERect rect;
  Frame* frame;
  uint32_t nextIdleTick;
  bool inIdlePump;
};

}  // namespace wrenfold
