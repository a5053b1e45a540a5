#pragma once

// The editor's 37 controls as one table, in the order they are built. The editor makes its
// controls from these rows, the skin generator prints each row's label under its rectangle, and
// the tests find controls through them. Adding a control is one row.

#include <cstdint>

#include "editor/Skin.h"
#include "gui/Color.h"
#include "gui/Geometry.h"
#include "params/ParameterTable.h"

namespace wrenfold {
namespace layout {

// What a row builds.
enum class ControlKind { knob, slider, toggleButton, momentaryButton, display };

// The words printed on the face under a control: the skin generator draws them there.
struct Label {
  const char* text;      // null for a control without a label (the displays)
  int32_t baselineDrop;  // from the control's bottom edge down to the text's baseline
};

// One control. Channel rows are written for the left channel: their rectangle is relative to the
// channel's left edge and their parameter is the left one; the right channel adds one to it.
struct ControlRow {
  ControlKind kind;
  int32_t parameter;   // the tag of a value control, the parameter a display shows
  Rect bounds;         // sliders and buttons are sized from their bitmap when built
  int32_t bitmap;      // knob body, slider track or button face; 0 for displays
  int32_t attachSlot;  // the control's place within its group when added to the frame
  Label label;         // printed on the face under the control
};

// Number of channels, left (0) and right (1).
constexpr int32_t channelCount = 2;

// Returns the left edge of the left (0) or right (1) channel's controls.
constexpr int32_t channelLeftEdge(int32_t channel) { return channel == 0 ? 25 : 195; }

// Returns the rectangle of a bitmap, or of one of its images stacked `images` high, at (left, top).
constexpr Rect imageAt(int32_t left, int32_t top, skin::BitmapId id, int32_t images = 1) {
  return Rect(left, top, left + skin::bitmap(id).width, top + skin::bitmap(id).height / images);
}

// Returns the rectangle of a slider track at (left, top).
constexpr Rect trackAt(int32_t left, int32_t top) {
  return imageAt(left, top, skin::sliderTrackBitmap);
}

// Returns the rectangle of a button face at (left, top).
constexpr Rect buttonAt(int32_t left, int32_t top) {
  return imageAt(left, top, skin::buttonBitmap, skin::buttonImages);
}

// Short names of the bitmaps and of the empty label, so that each row fits one line.
constexpr int32_t channelKnobBody = skin::channelKnobBitmap;
constexpr int32_t lowerKnobBody = skin::lowerKnobBitmap;
constexpr int32_t trackImage = skin::sliderTrackBitmap;
constexpr int32_t buttonFace = skin::buttonBitmap;
constexpr Label noLabel{nullptr, 0};

// One channel's controls, relative to its left edge x0.
constexpr ControlRow channelRows[] = {
    {ControlKind::knob, TempoL, Rect(0, 55, 30, 85), channelKnobBody, 0, {"Tempo", 10}},
    {ControlKind::knob, NoteLenL, Rect(0, 134, 30, 164), channelKnobBody, 1, {"Note Len.", 10}},
    {ControlKind::knob, WetPanL, Rect(0, 215, 30, 245), channelKnobBody, 2, {"Wet Pan", 10}},
    {ControlKind::slider, DryLevelL, trackAt(55, 60), trackImage, 3, {"Dry", 15}},
    {ControlKind::slider, WetLevelL, trackAt(85, 60), trackImage, 4, {"Wet", 15}},
    {ControlKind::slider, FeedBackL, trackAt(115, 60), trackImage, 5, {"Feed Back", 15}},
    {ControlKind::display, TempoL, Rect(-10, 40, 40, 50), 0, 6, noLabel},
    {ControlKind::display, NoteLenL, Rect(-10, 119, 40, 129), 0, 7, noLabel},
    {ControlKind::display, WetPanL, Rect(-10, 200, 40, 210), 0, 8, noLabel},
    {ControlKind::display, DryLevelL, Rect(50, 45, 80, 55), 0, 9, noLabel},
    {ControlKind::display, WetLevelL, Rect(80, 45, 110, 55), 0, 10, noLabel},
    {ControlKind::display, FeedBackL, Rect(110, 45, 140, 55), 0, 11, noLabel},
};

// The filter, switch and envelope controls of the lower area; they are added to the frame in a
// different order than they are built.
constexpr ControlRow lowerRows[] = {
    {ControlKind::knob, LpfCutoff, Rect(155, 330, 185, 360), lowerKnobBody, 4, {"LPF Cutoff", 11}},
    {ControlKind::knob, LpfQ, Rect(215, 330, 245, 360), lowerKnobBody, 6, {"LPF Q", 11}},
    {ControlKind::knob, HpfCutoff, Rect(290, 330, 320, 360), lowerKnobBody, 5, {"HPF Cutoff", 11}},
    {ControlKind::display, LpfCutoff, Rect(145, 315, 195, 325), 0, 0, noLabel},
    {ControlKind::display, LpfQ, Rect(205, 315, 255, 325), 0, 2, noLabel},
    {ControlKind::display, HpfCutoff, Rect(280, 315, 330, 325), 0, 1, noLabel},
    {ControlKind::toggleButton, NomorRev, buttonAt(25, 300), buttonFace, 3, {"reverse", 11}},
    {ControlKind::momentaryButton,
     ClearBuffer,
     buttonAt(65, 300),
     buttonFace,
     7,
     {"clear buffer", 11}},
    {ControlKind::toggleButton, Bypass, buttonAt(105, 300), buttonFace, 8, {"bypass", 11}},
    {ControlKind::knob, RevAttack, Rect(31, 364, 61, 394), lowerKnobBody, 9, {"attack", 10}},
    {ControlKind::display, RevAttack, Rect(21, 351, 71, 362), 0, 10, noLabel},
    {ControlKind::knob, RevRelease, Rect(81, 364, 111, 394), lowerKnobBody, 11, {"release", 10}},
    {ControlKind::display, RevRelease, Rect(71, 351, 121, 362), 0, 12, noLabel},
};

// Number of rows of one channel.
constexpr int32_t channelRowCount =
    static_cast<int32_t>(sizeof(channelRows) / sizeof(channelRows[0]));
// Number of rows of the lower area.
constexpr int32_t lowerRowCount = static_cast<int32_t>(sizeof(lowerRows) / sizeof(lowerRows[0]));
// Number of controls of the editor.
constexpr int32_t controlCount = channelCount * channelRowCount + lowerRowCount;

// A control placed on the editor: its row with the channel applied, the grey of the panel under
// it and its position in the order the controls are added to the frame.
struct PlacedControl {
  ControlRow row;
  Color panelGrey;
  int32_t attachPosition;
};

// Returns control `position` (0 to controlCount − 1) in build order.
constexpr PlacedControl placedControl(int32_t position) {
  const int32_t channelControls = channelCount * channelRowCount;
  if (position >= channelControls) {
    const ControlRow& row = lowerRows[position - channelControls];
    return PlacedControl{row, skin::lowerGrey, channelControls + row.attachSlot};
  }
  const int32_t channel = position / channelRowCount;
  ControlRow row = channelRows[position % channelRowCount];
  row.parameter += channel;
  row.bounds = row.bounds.offsetBy(channelLeftEdge(channel), 0);
  return PlacedControl{row, skin::channelGrey, channel * channelRowCount + row.attachSlot};
}

// Returns the build position of the value control (display false) or display (true) of a
// parameter, or −1 when it has none.
constexpr int32_t positionOf(int32_t parameter, bool display) {
  for (int32_t position = 0; position < controlCount; ++position) {
    const ControlRow row = placedControl(position).row;
    if (row.parameter == parameter && (row.kind == ControlKind::display) == display)
      return position;
  }
  return -1;
}

// Returns the rectangle of a parameter's value control, as laid out in the table.
constexpr Rect controlBounds(int32_t parameter) {
  return placedControl(positionOf(parameter, false)).row.bounds;
}

}  // namespace layout
}  // namespace wrenfold
