#pragma once

#include <vector>

#include "tools/skingen/RgbImage.h"

namespace wrenfold {

// Reduces a true-colour picture to a palette of at most 256 colours.
//
// Reserved colours are kept exactly; every other colour maps to its nearest palette entry, but
// never to pure white, which the skin uses as its transparent key.
class PaletteQuantiser {
 public:
  // Creates a quantiser that keeps the given colours exact (at most 64 of them).
  explicit PaletteQuantiser(std::vector<Rgb> keptColours);

  // Returns the palettised picture; an image with at most 256 colours is kept lossless.
  IndexedImage quantise(const RgbImage& image) const;

 private:
  // Returns the palette: all colours when few enough, else the reserved ones plus median-cut means.
  std::vector<Rgb> buildPalette(const RgbImage& image) const;

  // Returns the palette index for one pixel.
  int indexFor(Rgb colour, const std::vector<Rgb>& palette) const;

  std::vector<Rgb> reserved;
};

}  // namespace wrenfold
