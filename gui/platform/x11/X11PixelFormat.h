#pragma once

#include <xcb/xcb.h>

#include <cstdint>

namespace wrenfold {
namespace x11 {

// How the screen takes the pixels of an image: the root visual's channel masks, its depth, the
// bits per pixel and row padding of that depth's image format, and the server's byte order. The
// editor draws 0x00RRGGBB pixels; this turns rows of them into the screen's own format, so that a
// 16-bit, 24-bit or 30-bit TrueColor screen of either byte order shows the same picture.
class X11PixelFormat {
 public:
  // Returns the format of a screen's root visual; unusable when that visual is not TrueColor or
  // its pixels do not take 16, 24 or 32 bits.
  static X11PixelFormat ofScreen(const xcb_setup_t* setup, const xcb_screen_t* screen);

  // Returns whether images can be converted into this format.
  bool usable() const { return bytesPerPixel != 0; }
  // Returns the depth of the windows and images of this format.
  uint8_t depth() const { return depthBits; }
  // Returns the bytes one row of `width` pixels takes, padding included.
  uint32_t rowBytes(int32_t width) const;
  // Returns the pixel value of a 0x00RRGGBB colour.
  uint32_t pixelOf(uint32_t rgb) const;
  // Writes `width` 0x00RRGGBB pixels into `out` as the server takes them.
  void convertRow(const uint32_t* pixels, int32_t width, uint8_t* out) const;

 private:
  // One colour channel: where its bits sit in a pixel and how many there are.
  struct Channel {
    uint32_t shift = 0;
    uint32_t bits = 0;
    // Returns an 8-bit channel value scaled to the channel's width, in place.
    uint32_t place(uint32_t value) const;
  };
  // Returns the channel a visual's mask describes; no bits when the mask is not one run of ones.
  static Channel channelOf(uint32_t mask);

  Channel red, green, blue;
  uint32_t unusedBits = 0;  // bits of the depth outside the channels (alpha), set to 1
  uint32_t bytesPerPixel = 0;
  uint32_t scanlinePadBytes = 4;
  uint8_t depthBits = 0;
  bool mostSignificantFirst = false;
  bool asDrawn = false;  // the server takes 0x00RRGGBB little-endian words unchanged
};

}  // namespace x11
}  // namespace wrenfold
