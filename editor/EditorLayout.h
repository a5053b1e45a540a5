#pragma once

// Where the editor's controls sit on its 350 × 430 face, in editor pixels. The editor places its
// controls from these, and the skin generator prints the labels around the same places. Sizes that
// follow the bitmaps (sliders, buttons) are derived where the bitmaps are known.

#include <cstdint>

#include "gui/Geometry.h"

namespace wrenfold {
namespace layout {

// Returns the left edge of the left (0) or right (1) channel's controls.
constexpr int32_t channelLeftEdge(int32_t channel) { return channel == 0 ? 25 : 195; }

// Returns the channel's tempo knob.
constexpr Rect tempoKnob(int32_t x0) { return Rect(x0, 55, x0 + 30, 85); }
// Returns the channel's note-length knob.
constexpr Rect noteLengthKnob(int32_t x0) { return Rect(x0, 134, x0 + 30, 164); }
// Returns the channel's wet-pan knob.
constexpr Rect wetPanKnob(int32_t x0) { return Rect(x0, 215, x0 + 30, 245); }

// Top edge of every slider, and the top of its handle's travel.
constexpr int32_t sliderTop = 60;
// Returns the left edge of the channel's dry slider.
constexpr int32_t drySliderLeft(int32_t x0) { return x0 + 55; }
// Returns the left edge of the channel's wet slider.
constexpr int32_t wetSliderLeft(int32_t x0) { return x0 + 85; }
// Returns the left edge of the channel's feedback slider.
constexpr int32_t feedbackSliderLeft(int32_t x0) { return x0 + 115; }

// Returns the channel's tempo display.
constexpr Rect tempoDisplay(int32_t x0) { return Rect(x0 - 10, 40, x0 + 40, 50); }
// Returns the channel's note-length display.
constexpr Rect noteLengthDisplay(int32_t x0) { return Rect(x0 - 10, 119, x0 + 40, 129); }
// Returns the channel's wet-pan display.
constexpr Rect wetPanDisplay(int32_t x0) { return Rect(x0 - 10, 200, x0 + 40, 210); }
// Returns the channel's dry display.
constexpr Rect dryDisplay(int32_t x0) { return Rect(x0 + 50, 45, x0 + 80, 55); }
// Returns the channel's wet display.
constexpr Rect wetDisplay(int32_t x0) { return Rect(x0 + 80, 45, x0 + 110, 55); }
// Returns the channel's feedback display.
constexpr Rect feedbackDisplay(int32_t x0) { return Rect(x0 + 110, 45, x0 + 140, 55); }

// Top edge of the three buttons.
constexpr int32_t buttonTop = 300;
// Left edges of the reverse, clear-buffer and bypass buttons.
constexpr int32_t reverseButtonLeft = 25;
constexpr int32_t clearBufferButtonLeft = 65;
constexpr int32_t bypassButtonLeft = 105;

// The filter knobs and their displays.
constexpr Rect lpfCutoffKnob(155, 330, 185, 360);
constexpr Rect lpfQKnob(215, 330, 245, 360);
constexpr Rect hpfCutoffKnob(290, 330, 320, 360);
constexpr Rect lpfCutoffDisplay(145, 315, 195, 325);
constexpr Rect lpfQDisplay(205, 315, 255, 325);
constexpr Rect hpfCutoffDisplay(280, 315, 330, 325);

// The reverse envelope's knobs and their displays.
constexpr Rect revAttackKnob(31, 364, 61, 394);
constexpr Rect revReleaseKnob(81, 364, 111, 394);
constexpr Rect revAttackDisplay(21, 351, 71, 362);
constexpr Rect revReleaseDisplay(71, 351, 121, 362);

}  // namespace layout
}  // namespace wrenfold
