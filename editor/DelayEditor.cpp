#include "editor/DelayEditor.h"

#include <new>

#include "delay/dsp/ParameterFormat.h"
#include "delay/dsp/ParameterMapping.h"
#include "editor/EditorLayout.h"
#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/ControlStyle.h"
#include "gui/Knob.h"
#include "gui/MomentaryButton.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"
#include "gui/VerticalSlider.h"
#include "base/Allocation.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold {

namespace {

constexpr int32_t backgroundId = 128;
constexpr int32_t lowerKnobId = 129;
constexpr int32_t channelKnobId = 130;
constexpr int32_t knobHandleId = 131;
constexpr int32_t sliderTrackId = 132;
constexpr int32_t sliderHandleId = 133;
constexpr int32_t buttonId = 134;

constexpr int32_t knobHandleInset = 10;
constexpr int32_t displayFontId = 6;

// Where a series of ClearBuffer writes leaves the clear button, for each state it may start in:
// two fields of two bits, one for a dark start (below 0.5) and one for a lit start (above 0.5),
// each "stays", "goes dark" or "lights". A button at exactly 0.5 ignores writes.
enum ButtonMove : uint32_t { stays = 0, goesDark = 1, lights = 2 };
constexpr uint32_t fromLitShift = 2;

// Returns the move after one more write, from a start on the given side: a write of 0.5 or more
// lights a dark button, a write of 0.5 or less darkens a lit one.
uint32_t nextMove(uint32_t move, bool litStart, float value) {
  const bool dark = move == goesDark || (move == stays && !litStart);
  if (dark && value >= 0.5f) return lights;
  if (!dark && value <= 0.5f) return goesDark;
  return move;
}

// Returns the moves of both starts after one more write.
uint32_t followClearWrite(uint32_t moves, float value) {
  const uint32_t fromDark = nextMove(moves & 3u, false, value);
  const uint32_t fromLit = nextMove(moves >> fromLitShift, true, value);
  return fromDark | fromLit << fromLitShift;
}

// Returns the move of a button that shows `shown`.
uint32_t moveFor(uint32_t moves, float shown) {
  if (shown < 0.5f) return moves & 3u;
  if (shown > 0.5f) return moves >> fromLitShift;
  return stays;
}

}  // namespace

DelayEditor::DelayEditor(ExtendedEffectBase* effect)
    : GraphicEditorBase(effect),
      lowerDisplayBackColor(168, 168, 168),
      channelDisplayBackColor(183, 183, 183),
      displayTextColor(51, 51, 51),
      complete(true) {
  Bitmap** bitmaps[bitmapTotal] = {&backgroundBitmap,  &lowerKnobBitmap,   &channelKnobBitmap, &knobHandleBitmap,
                                   &sliderTrackBitmap, &sliderHandleBitmap, &buttonBitmap};
  for (int32_t i = 0; i < bitmapTotal; ++i) {
    *bitmaps[i] = allocateObject<Bitmap>(AllocationSite::bitmap, backgroundId + i);
    if (*bitmaps[i] == nullptr) complete = false;
  }
  const int32_t width = backgroundBitmap != nullptr ? backgroundBitmap->getWidth() : 0;
  const int32_t height = backgroundBitmap != nullptr ? backgroundBitmap->getHeight() : 0;
  rect = ERect{0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
  clearControlReferences();
  frame = nullptr;
  createControls();
}

DelayEditor::~DelayEditor() {
  closeEditor();
  Bitmap** bitmaps[bitmapTotal] = {&backgroundBitmap,  &lowerKnobBitmap,   &channelKnobBitmap, &knobHandleBitmap,
                                   &sliderTrackBitmap, &sliderHandleBitmap, &buttonBitmap};
  for (Bitmap** bitmap : bitmaps) {
    if (*bitmap != nullptr) (*bitmap)->release();
    *bitmap = nullptr;
  }
  Control* controls[controlTotal];
  const int32_t count = controlsInAttachOrder(controls);
  for (int32_t i = 0; i < count; ++i) controls[i]->release();
  clearControlReferences();
}

void DelayEditor::clearControlReferences() {
  for (int32_t c = 0; c < channels; ++c) {
    tempoKnob[c] = noteLengthKnob[c] = wetPanKnob[c] = nullptr;
    drySlider[c] = wetSlider[c] = feedbackSlider[c] = nullptr;
    tempoDisplay[c] = noteLengthDisplay[c] = wetPanDisplay[c] = nullptr;
    dryDisplay[c] = wetDisplay[c] = feedbackDisplay[c] = nullptr;
  }
  lpfCutoffDisplay = hpfCutoffDisplay = lpfQDisplay = revAttackDisplay = revReleaseDisplay = nullptr;
  reverseButton = bypassButton = nullptr;
  lpfCutoffKnob = hpfCutoffKnob = lpfQKnob = revAttackKnob = revReleaseKnob = nullptr;
  clearBufferButton = nullptr;
}

void DelayEditor::createControls() {
  for (int32_t c = 0; c < channels; ++c) createChannelControls(c, layout::channelLeftEdge(c));
  createLowerControls();
  Control* controls[controlTotal];
  if (controlsInAttachOrder(controls) != controlTotal) complete = false;
}

Knob* DelayEditor::makeKnob(const Rect& bounds, int32_t tag, Bitmap* body) {
  Knob* knob = allocateObject<Knob>(AllocationSite::control, bounds, this, tag, body, knobHandleBitmap, Point(0, 0));
  if (knob == nullptr) return nullptr;
  knob->setValue(effect->parameterValue(tag));
  knob->setHandleInset(knobHandleInset);
  return knob;
}

VerticalSlider* DelayEditor::makeSlider(int32_t left, int32_t tag) {
  const int32_t trackWidth = sliderTrackBitmap != nullptr ? sliderTrackBitmap->getWidth() : 0;
  const int32_t trackHeight = sliderTrackBitmap != nullptr ? sliderTrackBitmap->getHeight() : 0;
  const int32_t handleHeight = sliderHandleBitmap != nullptr ? sliderHandleBitmap->getHeight() : 0;
  const Rect bounds(left, layout::sliderTop, left + trackWidth, layout::sliderTop + trackHeight);
  const int32_t maxPosition = layout::sliderTop + trackHeight - handleHeight;
  VerticalSlider* slider = allocateObject<VerticalSlider>(AllocationSite::control, 
      bounds, this, tag, layout::sliderTop, maxPosition, sliderHandleBitmap, sliderTrackBitmap, Point(0, 0),
      styleMinAtBottom);
  if (slider == nullptr) return nullptr;
  Point noOffset(0, 0);
  slider->setHandleOffset(noOffset);
  slider->setValue(effect->parameterValue(tag));
  return slider;
}

ValueDisplay* DelayEditor::makeDisplay(const Rect& bounds, int32_t index, const Color& boxColor,
                                       void (*formatter)(float, char*)) {
  ValueDisplay* display = allocateObject<ValueDisplay>(AllocationSite::control, bounds, nullptr, styleHorizontal);
  if (display == nullptr) return nullptr;
  display->setFont(displayFontId);
  display->setFontColor(displayTextColor);
  display->setBackColor(boxColor);
  display->setFrameColor(boxColor);
  display->setValue(effect->parameterValue(index));
  display->setConverter(formatter);
  return display;
}

void DelayEditor::createChannelControls(int32_t c, int32_t x0) {
  const Color& box = channelDisplayBackColor;
  tempoKnob[c] = makeKnob(layout::tempoKnob(x0), TempoL + c, channelKnobBitmap);
  noteLengthKnob[c] = makeKnob(layout::noteLengthKnob(x0), NoteLenL + c, channelKnobBitmap);
  wetPanKnob[c] = makeKnob(layout::wetPanKnob(x0), WetPanL + c, channelKnobBitmap);
  drySlider[c] = makeSlider(layout::drySliderLeft(x0), DryLevelL + c);
  wetSlider[c] = makeSlider(layout::wetSliderLeft(x0), WetLevelL + c);
  feedbackSlider[c] = makeSlider(layout::feedbackSliderLeft(x0), FeedBackL + c);
  tempoDisplay[c] = makeDisplay(layout::tempoDisplay(x0), TempoL + c, box, formatTempo);
  noteLengthDisplay[c] = makeDisplay(layout::noteLengthDisplay(x0), NoteLenL + c, box, formatNoteLength);
  wetPanDisplay[c] = makeDisplay(layout::wetPanDisplay(x0), WetPanL + c, box, formatPan);
  dryDisplay[c] = makeDisplay(layout::dryDisplay(x0), DryLevelL + c, box, formatLevel);
  wetDisplay[c] = makeDisplay(layout::wetDisplay(x0), WetLevelL + c, box, formatLevel);
  feedbackDisplay[c] = makeDisplay(layout::feedbackDisplay(x0), FeedBackL + c, box, formatFeedback);
}

void DelayEditor::createLowerControls() {
  const Color& box = lowerDisplayBackColor;
  lpfCutoffKnob = makeKnob(layout::lpfCutoffKnob, LpfCutoff, lowerKnobBitmap);
  lpfQKnob = makeKnob(layout::lpfQKnob, LpfQ, lowerKnobBitmap);
  hpfCutoffKnob = makeKnob(layout::hpfCutoffKnob, HpfCutoff, lowerKnobBitmap);
  lpfCutoffDisplay = makeDisplay(layout::lpfCutoffDisplay, LpfCutoff, box, formatLpfCutoff);
  lpfQDisplay = makeDisplay(layout::lpfQDisplay, LpfQ, box, formatQ);
  hpfCutoffDisplay = makeDisplay(layout::hpfCutoffDisplay, HpfCutoff, box, formatHpfCutoff);

  // Each button shows one of the two stacked images, so it is half as tall as the bitmap.
  const int32_t buttonWidth = buttonBitmap != nullptr ? buttonBitmap->getWidth() : 0;
  const int32_t buttonHeight = buttonBitmap != nullptr ? buttonBitmap->getHeight() / 2 : 0;
  auto buttonBounds = [&](int32_t left) {
    return Rect(left, layout::buttonTop, left + buttonWidth, layout::buttonTop + buttonHeight);
  };
  reverseButton = allocateObject<ToggleButton>(AllocationSite::control, buttonBounds(layout::reverseButtonLeft), this, NomorRev, buttonBitmap);
  if (reverseButton != nullptr) reverseButton->setValue(effect->parameterValue(NomorRev));
  clearBufferButton = allocateObject<MomentaryButton>(AllocationSite::control, buttonBounds(layout::clearBufferButtonLeft), this, ClearBuffer, buttonHeight, buttonBitmap, Point(0, 0));
  if (clearBufferButton != nullptr) clearBufferButton->setValue(effect->parameterValue(ClearBuffer));
  bypassButton = allocateObject<ToggleButton>(AllocationSite::control, buttonBounds(layout::bypassButtonLeft), this, Bypass, buttonBitmap);
  if (bypassButton != nullptr) bypassButton->setValue(effect->parameterValue(Bypass));

  revAttackKnob = makeKnob(layout::revAttackKnob, RevAttack, lowerKnobBitmap);
  revAttackDisplay = makeDisplay(layout::revAttackDisplay, RevAttack, box, formatRampTime);
  revReleaseKnob = makeKnob(layout::revReleaseKnob, RevRelease, lowerKnobBitmap);
  revReleaseDisplay = makeDisplay(layout::revReleaseDisplay, RevRelease, box, formatRampTime);
}

Control* DelayEditor::controlFor(int32_t index) const {
  switch (index) {
    case NomorRev: return reverseButton;
    case ClearBuffer: return clearBufferButton;
    case Bypass: return bypassButton;
    case LpfCutoff: return lpfCutoffKnob;
    case LpfQ: return lpfQKnob;
    case HpfCutoff: return hpfCutoffKnob;
    case TempoL: case TempoR: return tempoKnob[index - TempoL];
    case NoteLenL: case NoteLenR: return noteLengthKnob[index - NoteLenL];
    case FeedBackL: case FeedBackR: return feedbackSlider[index - FeedBackL];
    case WetLevelL: case WetLevelR: return wetSlider[index - WetLevelL];
    case DryLevelL: case DryLevelR: return drySlider[index - DryLevelL];
    case WetPanL: case WetPanR: return wetPanKnob[index - WetPanL];
    case RevAttack: return revAttackKnob;
    case RevRelease: return revReleaseKnob;
    default: return nullptr;
  }
}

ValueDisplay* DelayEditor::displayFor(int32_t index) const {
  switch (index) {
    case LpfCutoff: return lpfCutoffDisplay;
    case LpfQ: return lpfQDisplay;
    case HpfCutoff: return hpfCutoffDisplay;
    case TempoL: case TempoR: return tempoDisplay[index - TempoL];
    case NoteLenL: case NoteLenR: return noteLengthDisplay[index - NoteLenL];
    case FeedBackL: case FeedBackR: return feedbackDisplay[index - FeedBackL];
    case WetLevelL: case WetLevelR: return wetDisplay[index - WetLevelL];
    case DryLevelL: case DryLevelR: return dryDisplay[index - DryLevelL];
    case WetPanL: case WetPanR: return wetPanDisplay[index - WetPanL];
    case RevAttack: return revAttackDisplay;
    case RevRelease: return revReleaseDisplay;
    default: return nullptr;
  }
}

int32_t DelayEditor::controlsInAttachOrder(Control** list) const {
  Control* const ordered[controlTotal] = {
      tempoKnob[0], noteLengthKnob[0], wetPanKnob[0], drySlider[0], wetSlider[0], feedbackSlider[0],
      tempoDisplay[0], noteLengthDisplay[0], wetPanDisplay[0], dryDisplay[0], wetDisplay[0], feedbackDisplay[0],
      tempoKnob[1], noteLengthKnob[1], wetPanKnob[1], drySlider[1], wetSlider[1], feedbackSlider[1],
      tempoDisplay[1], noteLengthDisplay[1], wetPanDisplay[1], dryDisplay[1], wetDisplay[1], feedbackDisplay[1],
      lpfCutoffDisplay, hpfCutoffDisplay, lpfQDisplay, reverseButton, lpfCutoffKnob, hpfCutoffKnob, lpfQKnob,
      clearBufferButton, bypassButton, revAttackKnob, revAttackDisplay, revReleaseKnob, revReleaseDisplay};
  int32_t count = 0;
  for (Control* control : ordered)
    if (control != nullptr) list[count++] = control;
  return count;
}

int32_t DelayEditor::controlCount() const {
  Control* controls[controlTotal];
  return controlsInAttachOrder(controls);
}

int32_t DelayEditor::bitmapCount() const {
  const Bitmap* const bitmaps[bitmapTotal] = {backgroundBitmap,  lowerKnobBitmap,    channelKnobBitmap, knobHandleBitmap,
                                              sliderTrackBitmap, sliderHandleBitmap, buttonBitmap};
  int32_t count = 0;
  for (const Bitmap* bitmap : bitmaps) count += bitmap != nullptr ? 1 : 0;
  return count;
}

intptr_t DelayEditor::openEditor(void* parent) {
  // A click in progress still holds the open frame; a new one waits until it has let go.
  if (isTracking()) return 0;
  if (frame != nullptr) closeEditor();
  GraphicEditorBase::openEditor(parent);
  const int32_t width = backgroundBitmap != nullptr ? backgroundBitmap->getWidth() : 0;
  const int32_t height = backgroundBitmap != nullptr ? backgroundBitmap->getHeight() : 0;
  frame = allocateObject<Frame>(AllocationSite::frame, Rect(0, 0, width, height), parent, this);
  if (frame == nullptr) return 0;
  // No window inside the host's window is a failed open, not an editor nobody can see.
  if (frame->getWindow() == nullptr) {
    delete frame;
    frame = nullptr;
    return 0;
  }
  frame->setBackground(backgroundBitmap);
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
}

void DelayEditor::attachControls() {
  Control* controls[controlTotal];
  const int32_t count = controlsInAttachOrder(controls);
  for (int32_t i = 0; i < count; ++i) frame->addView(controls[i]);
}

void DelayEditor::detachControls() {
  Control* controls[controlTotal];
  const int32_t count = controlsInAttachOrder(controls);
  for (int32_t i = 0; i < count; ++i) frame->removeView(controls[i], false);
}

void DelayEditor::syncControls(int32_t index) {
  if (!isParameterIndex(index)) return;
  if (index == ClearBuffer) {
    if (clearBufferButton != nullptr)
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
    pendingControls.fetch_or(1u << index, std::memory_order_release);
    requestRefresh();
    return;
  }
  // The clear button follows the written values across 0.5, not the effect's latched value.
  if (clearBufferButton == nullptr) {
    requestRefresh();
    return;
  }
  uint32_t moves = clearButtonMoves.load(std::memory_order_relaxed);
  while (!clearButtonMoves.compare_exchange_weak(moves, followClearWrite(moves, value),
                                                 std::memory_order_relaxed)) {
  }
}

void DelayEditor::takePendingChanges() {
  const uint32_t written = pendingControls.exchange(0, std::memory_order_acquire);
  for (int32_t index = 0; index < parameterCountTotal; ++index)
    if ((written & (1u << index)) != 0) syncControls(index);
  const uint32_t moves = clearButtonMoves.exchange(0, std::memory_order_relaxed);
  if (clearBufferButton == nullptr) return;
  const uint32_t move = moveFor(moves, clearBufferButton->getValue());
  if (move == stays) return;
  clearBufferButton->setValue(move == lights ? 1.0f : 0.0f);
  requestRefresh();
}

void DelayEditor::dropPendingChanges() {
  // Taken, not just overwritten: whatever was written before is then visible to the full sync.
  pendingControls.exchange(0, std::memory_order_acquire);
  clearButtonMoves.exchange(0, std::memory_order_relaxed);
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
