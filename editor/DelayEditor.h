#pragma once

#include <atomic>
#include <cstdint>

#include "editor/EditorLayout.h"
#include "editor/Skin.h"
#include "editorbase/GraphicEditorBase.h"
#include "gui/Color.h"
#include "gui/ControlListener.h"
#include "gui/Geometry.h"

namespace wrenfold {

class Bitmap;
class Control;
class Knob;
class ValueDisplay;
class VerticalSlider;

// The plug-in's own editor: a 350 × 430 skin with a knob, slider or button for each of the 20
// parameters (tag = parameter index) and 17 value displays. Controls and bitmaps live as long as
// the editor; the frame that shows them exists only while the host has the editor open.
// [UI thread], but for parameterChanged: parameter writes reach the editor on any thread, and
// only mark what changed; the UI thread's idle brings the controls up to date.
class DelayEditor : public GraphicEditorBase, public ControlListener {
 public:
  // Loads the skin, sizes the editor after it and builds all controls with the effect's values.
  explicit DelayEditor(ExtendedEffectBase* effect);
  // Closes the editor if still open, then releases the controls and the bitmaps.
  ~DelayEditor() override;

  // Opens a frame inside `parent` (closing an open one first), syncs and attaches the controls;
  // answers 1, or 0 when the frame cannot be made.
  intptr_t openEditor(void* parent) override;
  // Takes the controls out of the frame and destroys it; nothing when closed.
  void closeEditor() override;
  // Marks a parameter's control and display for the next idle and asks for a refresh; the clear
  // button instead records how the written value moves it. [any thread]
  void parameterChanged(int32_t index, float value) override;
  // Brings the marked controls to the effect's values, then runs the idle of the base.
  void idleEditor() override;
  // Sets the parameter of the control that moved and reports it to the host.
  void valueChanged(DrawContext* context, Control* control) override;

  // Returns whether every bitmap and control could be allocated.
  bool isComplete() const { return complete; }
  // Returns the control that edits a parameter, or null.
  Control* controlFor(int32_t index) const;
  // Returns the display that shows a parameter, or null.
  ValueDisplay* displayFor(int32_t index) const;
  // Returns the number of controls the editor holds.
  int32_t controlCount() const;
  // Returns the number of bitmaps the editor holds.
  int32_t bitmapCount() const;

 private:
  // Sets every control reference to null.
  void clearControlReferences();
  // Builds the controls of the layout table in its order, each with the effect's current value.
  void createControls();
  // Makes the control of one table row; null when it cannot be allocated.
  Control* makeControl(const layout::PlacedControl& placed);
  // Makes a knob with the editor's settings.
  Knob* makeKnob(const layout::ControlRow& row);
  // Makes a vertical slider whose size and travel follow the loaded track and handle bitmaps.
  VerticalSlider* makeSlider(const layout::ControlRow& row);
  // Makes a toggle or momentary button one image of the loaded button bitmap high.
  Control* makeButton(const layout::ControlRow& row);
  // Makes a value display in the grey of the panel under it, with its parameter's display text.
  ValueDisplay* makeDisplay(const layout::ControlRow& row, const Color& panelGrey);
  // Returns a loaded skin bitmap, or null when it could not be allocated.
  Bitmap* skinBitmap(int32_t id) const;
  // Returns the size of a skin bitmap as loaded: 0 × 0 when it is missing.
  Rect skinBitmapBounds(int32_t id) const;
  // Brings a parameter's control and display to the effect's value, without a refresh request.
  void syncControls(int32_t index);
  // Syncs the controls that writes marked and moves the clear button as they moved it.
  void takePendingChanges();
  // Forgets what writes marked, before every control is synced anyway.
  void dropPendingChanges();
  // Fills `list` with the controls in the order they are added to the frame; returns the count.
  int32_t controlsInAttachOrder(Control** list) const;
  // Adds the controls to the frame.
  void attachControls();
  // Takes the controls out of the frame without releasing them.
  void detachControls();

  Control* controls[layout::controlCount];  // in the layout table's order
  Bitmap* bitmaps[skin::bitmapCount];       // in resource id order

  bool complete;

  // Parameters written since the last idle, one bit per index.
  std::atomic<uint32_t> pendingControls{0};
  // Where the writes since the last idle leave the clear button, from a dark and from a lit start.
  std::atomic<uint32_t> clearButtonStates{2u};
};

}  // namespace wrenfold
