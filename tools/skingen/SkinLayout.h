#pragma once

#include <vector>

namespace wrenfold {

// Holds the editor-pixel rectangle of one control; right and bottom are the editor's bounds values.
struct ControlBox {
  // Names the kinds of control that sit on the face.
  enum class Kind { knob, slider, button, display };

  Kind kind;          // Holds what sits in the rectangle.
  int left;           // Holds the left edge.
  int top;            // Holds the top edge.
  int right;          // Holds the right edge (exclusive for images, inclusive for display boxes).
  int bottom;         // Holds the bottom edge (exclusive for images, inclusive for display boxes).
  int bitmap;         // Holds the skin bitmap a knob, slider or button draws; 0 for displays.
  const char* label;  // Holds the words printed under the control, or null.
  int labelBaseline;  // Holds the baseline of those words.

  // Returns the horizontal centre in pixel-edge coordinates.
  double centreX() const { return (left + right) / 2.0; }
};

// Knows where the editor places its controls, so that the face can print labels around them.
class SkinLayout {
 public:
  // Returns the left edge of the left (0) or right (1) channel's control column.
  static int channelOrigin(int channel);

  // Returns every control of the editor.
  static std::vector<ControlBox> all();
};

}  // namespace wrenfold
