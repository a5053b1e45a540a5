#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wrenfold {

// Holds one opaque colour with 8 bits per channel.
struct Rgb {
  std::uint8_t red = 0;    // Holds the red channel.
  std::uint8_t green = 0;  // Holds the green channel.
  std::uint8_t blue = 0;   // Holds the blue channel.
};

// Returns true when both colours have the same three channels.
inline bool operator==(Rgb a, Rgb b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Returns true when the colours differ in any channel.
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Holds a true-colour picture, rows top to bottom.
struct RgbImage {
  int width = 0;            // Holds the width in pixels.
  int height = 0;           // Holds the height in pixels.
  std::vector<Rgb> pixels;  // Holds width × height colours, row after row.

  // Returns the pixel at column x, row y.
  Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Holds a palettised picture, rows top to bottom.
struct IndexedImage {
  int width = 0;                      // Holds the width in pixels.
  int height = 0;                     // Holds the height in pixels.
  std::vector<Rgb> palette;           // Holds at most 256 colours.
  std::vector<std::uint8_t> indices;  // Holds one palette index per pixel, row after row.

  // Returns the colour of the pixel at column x, row y.
  Rgb at(int x, int y) const { return palette[indices[static_cast<std::size_t>(y) * width + x]]; }
};

}  // namespace wrenfold
