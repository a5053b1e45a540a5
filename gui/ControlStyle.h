#pragma once

#include <cstdint>

namespace wrenfold {

// Style bits of sliders and value displays; each class reads only the bits that concern it.
enum : int32_t {
  styleHorizontal = 1,           // the slider's handle moves horizontally
  styleVertical = 2,             // marks a vertical slider; read by nothing
  styleShadowText = 4,           // the display draws its text over a shadow copy
  styleMinAtLeft = 8,            // the slider draws value 0 at the left end
  styleMinAtRight = 16,          // the slider's mouse maps the right end to value 0
  styleMinAtTop = 32,            // the slider draws value 0 at the top end
  styleMinAtBottom = 64,         // the slider's mouse maps the bottom end to value 0
  styleBevelBackTopLeft = 128,   // the display's bevel: back colour top and left
  styleBevelFrameTopLeft = 256,  // the display's bevel: frame colour top and left
  styleNoText = 2048,            // the display draws no text
  styleNoDraw = 4096,            // the display draws nothing
};

}  // namespace wrenfold
