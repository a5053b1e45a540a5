#include "editor/DelayEditor.h"

#include <new>

#include "base/Allocation.h"
#include "gui/Bitmap.h"
#include "gui/ControlStyle.h"
#include "gui/Frame.h"
#include "gui/Knob.h"
#include "gui/MomentaryButton.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"
#include "gui/VerticalSlider.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold {

namespace {

constexpr int32_t knobHandleInset = 10;
constexpr int32_t displayFontId = 6;

// The clear button's state after the writes since the last idle, for each state it may start
// in: bit 0 from a dark start (below 0.5), bit 1 from a lit start (above 0.5). A button at
// exactly 0.5 ignores writes.
constexpr uint32_t noClearWrites = 2u;

// Returns the states of both starts after one more write.
uint32_t followClearWrite(uint32_t states, float value) {
  const uint32_t fromDark =
      clearLatchAfter(static_cast<float>(states & 1u), value) > 0.5f ? 1u : 0u;
  const uint32_t fromLit = clearLatchAfter(static_cast<float>(states >> 1), value) > 0.5f ? 1u : 0u;
  return fromDark | fromLit << 1;
}

}  // namespace

DelayEditor::DelayEditor(ExtendedEffectBase* effect) : GraphicEditorBase(effect), complete(true) {
  for (int32_t i = 0; i < skin::bitmapCount; ++i) {
    bitmaps[i] = allocateObject<Bitmap>(AllocationSite::bitmap, skin::bitmaps[i].id);
    if (bitmaps[i] == nullptr) complete = false;
  }
  const Rect face = skinBitmapBounds(skin::backgroundBitmap);
  rect = ERect{0, 0, static_cast<int16_t>(face.height()), static_cast<int16_t>(face.width())};
  clearControlReferences();
  frame = nullptr;
  createControls();
}

DelayEditor::~DelayEditor() {
  closeEditor();
  for (Bitmap*& bitmap : bitmaps) {
    if (bitmap != nullptr) bitmap->release();
    bitmap = nullptr;
  }
  for (Control* control : controls)
    if (control != nullptr) control->release();
  clearControlReferences();
}

void DelayEditor::clearControlReferences() {
  for (Control*& control : controls) control = nullptr;
}

void DelayEditor::createControls() {
  for (int32_t position = 0; position < layout::controlCount; ++position) {
    controls[position] = makeControl(layout::placedControl(position));
    if (controls[position] == nullptr) complete = false;
  }
}

Bitmap* DelayEditor::skinBitmap(int32_t id) const {
  const int32_t slot = id - skin::backgroundBitmap;
  return slot >= 0 && slot < skin::bitmapCount ? bitmaps[slot] : nullptr;
}

Rect DelayEditor::skinBitmapBounds(int32_t id) const {
  const Bitmap* bitmap = skinBitmap(id);
  return bitmap != nullptr ? Rect(0, 0, bitmap->getWidth(), bitmap->getHeight()) : Rect();
}

Control* DelayEditor::makeControl(const layout::PlacedControl& placed) {
  switch (placed.row.kind) {
    case layout::ControlKind::knob:
      return makeKnob(placed.row);
    case layout::ControlKind::slider:
      return makeSlider(placed.row);
    case layout::ControlKind::toggleButton:
    case layout::ControlKind::momentaryButton:
      return makeButton(placed.row);
    case layout::ControlKind::display:
      return makeDisplay(placed.row, placed.panelGrey);
  }
  return nullptr;
}

Knob* DelayEditor::makeKnob(const layout::ControlRow& row) {
  Knob* knob =
      allocateObject<Knob>(AllocationSite::control, row.bounds, this, row.parameter,
                           skinBitmap(row.bitmap), skinBitmap(skin::knobHandleBitmap), Point(0, 0));
  if (knob == nullptr) return nullptr;
  knob->setValue(effect->parameterValue(row.parameter));
  knob->setHandleInset(knobHandleInset);
  return knob;
}

VerticalSlider* DelayEditor::makeSlider(const layout::ControlRow& row) {
  const Rect track = skinBitmapBounds(row.bitmap);
  const Rect handle = skinBitmapBounds(skin::sliderHandleBitmap);
  const Rect bounds = track.offsetBy(row.bounds.left, row.bounds.top);
  const int32_t maxPosition = bounds.bottom - handle.height();
  VerticalSlider* slider = allocateObject<VerticalSlider>(
      AllocationSite::control, bounds, this, row.parameter, bounds.top, maxPosition,
      skinBitmap(skin::sliderHandleBitmap), skinBitmap(row.bitmap), Point(0, 0), styleMinAtBottom);
  if (slider == nullptr) return nullptr;
  Point noOffset(0, 0);
  slider->setHandleOffset(noOffset);
  slider->setValue(effect->parameterValue(row.parameter));
  return slider;
}

Control* DelayEditor::makeButton(const layout::ControlRow& row) {
  // A button shows one of the images stacked in its bitmap, so it is that much less tall.
  const Rect face = skinBitmapBounds(row.bitmap);
  const int32_t imageHeight = face.height() / skin::buttonImages;
  const Rect bounds(row.bounds.left, row.bounds.top, row.bounds.left + face.width(),
                    row.bounds.top + imageHeight);
  Control* button = nullptr;
  if (row.kind == layout::ControlKind::momentaryButton) {
    button = allocateObject<MomentaryButton>(AllocationSite::control, bounds, this, row.parameter,
                                             imageHeight, skinBitmap(row.bitmap), Point(0, 0));
  } else {
    button = allocateObject<ToggleButton>(AllocationSite::control, bounds, this, row.parameter,
                                          skinBitmap(row.bitmap));
  }
  if (button != nullptr) button->setValue(effect->parameterValue(row.parameter));
  return button;
}

ValueDisplay* DelayEditor::makeDisplay(const layout::ControlRow& row, const Color& panelGrey) {
  ValueDisplay* display =
      allocateObject<ValueDisplay>(AllocationSite::control, row.bounds, nullptr, styleHorizontal);
  if (display == nullptr) return nullptr;
  display->setFont(displayFontId);
  display->setFontColor(skin::ink);
  display->setBackColor(panelGrey);
  display->setFrameColor(panelGrey);
  display->setValue(effect->parameterValue(row.parameter));
  display->setConverter(parameterTable[row.parameter].displayText);
  return display;
}

Control* DelayEditor::controlFor(int32_t index) const {
  const int32_t position = layout::positionOf(index, false);
  return position >= 0 ? controls[position] : nullptr;
}

ValueDisplay* DelayEditor::displayFor(int32_t index) const {
  const int32_t position = layout::positionOf(index, true);
  return position >= 0 ? static_cast<ValueDisplay*>(controls[position]) : nullptr;
}

int32_t DelayEditor::controlsInAttachOrder(Control** list) const {
  Control* ordered[layout::controlCount] = {};
  for (int32_t position = 0; position < layout::controlCount; ++position)
    ordered[layout::placedControl(position).attachPosition] = controls[position];
  int32_t count = 0;
  for (Control* control : ordered)
    if (control != nullptr) list[count++] = control;
  return count;
}

int32_t DelayEditor::controlCount() const {
  int32_t count = 0;
  for (const Control* control : controls) count += control != nullptr ? 1 : 0;
  return count;
}

int32_t DelayEditor::bitmapCount() const {
  int32_t count = 0;
  for (const Bitmap* bitmap : bitmaps) count += bitmap != nullptr ? 1 : 0;
  return count;
}

intptr_t DelayEditor::openEditor(void* parent) {
  // A click in progress still holds the open frame; a new one waits until it has let go.
  if (isTracking()) return 0;
  if (frame != nullptr) closeEditor();
  GraphicEditorBase::openEditor(parent);
  frame = allocateObject<Frame>(AllocationSite::frame, skinBitmapBounds(skin::backgroundBitmap),
                                parent, this, editorScale());
  if (frame == nullptr) return 0;
  // No window inside the host's window is a failed open, not an editor nobody can see.
  if (frame->getWindow() == nullptr) {
    delete frame;
    frame = nullptr;
    return 0;
  }
  frame->setBackground(skinBitmap(skin::backgroundBitmap));
  dropPendingChanges();
  for (int32_t index = 0; index < parameterCountTotal; ++index) syncControls(index);
  attachControls();
  return 1;
}

void DelayEditor::closeEditor() {
  if (frame == nullptr || deferCloseWhileTracking()) return;
  detachControls();
  delete frame;
  frame = nullptr;
  releaseScale();
}

void DelayEditor::attachControls() {
  Control* ordered[layout::controlCount];
  const int32_t count = controlsInAttachOrder(ordered);
  for (int32_t i = 0; i < count; ++i) frame->addView(ordered[i]);
}

void DelayEditor::detachControls() {
  Control* ordered[layout::controlCount];
  const int32_t count = controlsInAttachOrder(ordered);
  for (int32_t i = 0; i < count; ++i) frame->removeView(ordered[i], false);
}

void DelayEditor::syncControls(int32_t index) {
  if (!isParameterIndex(index)) return;
  if (index == ClearBuffer) {
    if (Control* clearBufferButton = controlFor(ClearBuffer))
      clearBufferButton->setValue(effect->parameterValue(ClearBuffer) < 0.5f ? 0.0f : 1.0f);
    return;
  }
  const float value = effect->parameterValue(index);
  if (Control* control = controlFor(index)) control->setValue(value);
  if (ValueDisplay* display = displayFor(index)) display->setValue(value);
}

void DelayEditor::parameterChanged(int32_t index, float value) {
  if (!isParameterIndex(index)) {
    requestRefresh();
    return;
  }
  if (index != ClearBuffer) {
    pendingControls.fetch_or(parameterBit(index), std::memory_order_release);
    requestRefresh();
    return;
  }
  // The clear button follows the written values by the effect's latch rule, not the latch itself.
  Control* clearBufferButton = controlFor(ClearBuffer);
  if (clearBufferButton == nullptr) {
    requestRefresh();
    return;
  }
  uint32_t states = clearButtonStates.load(std::memory_order_relaxed);
  while (!clearButtonStates.compare_exchange_weak(states, followClearWrite(states, value),
                                                  std::memory_order_relaxed)) {
  }
}

void DelayEditor::takePendingChanges() {
  const uint32_t written = pendingControls.exchange(0, std::memory_order_acquire);
  for (int32_t index = 0; index < parameterCountTotal; ++index)
    if ((written & parameterBit(index)) != 0) syncControls(index);
  const uint32_t states = clearButtonStates.exchange(noClearWrites, std::memory_order_relaxed);
  Control* clearBufferButton = controlFor(ClearBuffer);
  if (clearBufferButton == nullptr) return;
  const float shown = clearBufferButton->getValue();
  const bool lit = ((shown < 0.5f ? states : states >> 1) & 1u) != 0;
  if (shown == 0.5f || lit == (shown > 0.5f)) return;
  clearBufferButton->setValue(lit ? 1.0f : 0.0f);
  requestRefresh();
}

void DelayEditor::dropPendingChanges() {
  // Taken, not just overwritten: whatever was written before is then visible to the full sync.
  pendingControls.exchange(0, std::memory_order_acquire);
  clearButtonStates.exchange(noClearWrites, std::memory_order_relaxed);
}

void DelayEditor::idleEditor() {
  if (frame != nullptr && !inIdlePump) takePendingChanges();
  GraphicEditorBase::idleEditor();
}

void DelayEditor::valueChanged(DrawContext* context, Control* control) {
  if (control == nullptr) return;
  const int32_t tag = control->getTag();
  // After the host closed the effect mid-gesture nothing may reach the host any more.
  if (!isParameterIndex(tag) || effect->isClosePending()) return;
  effect->applyParameterAndReport(tag, control->getValue());
  // The write marked this control; bring it to the effect's value before it is drawn.
  takePendingChanges();
  if (context != nullptr) control->update(context);
}

}  // namespace wrenfold
