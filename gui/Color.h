#pragma once

#include <cstdint>

namespace wrenfold {

// An RGB colour; the fourth byte is kept for layout and never read.
struct Color {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t unused = 0;

  // Makes black.
  constexpr Color() = default;
  // Makes the colour from its three components.
  constexpr Color(uint8_t r, uint8_t g, uint8_t b) : red(r), green(g), blue(b) {}

  // Returns whether red, green and blue are equal; the fourth byte is ignored.
  constexpr bool operator==(const Color& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
  // Returns whether red, green or blue differ.
  constexpr bool operator!=(const Color& other) const { return !(*this == other); }
};

// The toolkit's colours; white is also the key colour left out by transparent drawing.
constexpr Color transparentKeyColor(255, 255, 255);
constexpr Color whiteColor(255, 255, 255);
constexpr Color greyColor(127, 127, 127);
constexpr Color redColor(255, 0, 0);
constexpr Color greenColor(0, 255, 0);
constexpr Color blueColor(0, 0, 255);
constexpr Color yellowColor(255, 255, 0);
constexpr Color magentaColor(255, 0, 255);
constexpr Color cyanColor(0, 255, 255);
constexpr Color blackColor(0, 0, 0);

}  // namespace wrenfold
