#pragma once

#include "tools/skingen/RgbImage.h"

namespace wrenfold {

// Paints the seven skin images of the editor in true colour.
//
// Images that are drawn with white as the transparent key come back with pure white wherever
// nothing should show and with no pure white anywhere else.
class SkinArtist {
 public:
  // Paints the images with `scale` pixels for each pixel of the editor (1 or 2).
  explicit SkinArtist(int scale = 1) : scale(scale) {}

  // Returns the channel panels' grey, which the channel displays and knob corners share.
  static Rgb channelGrey();

  // Returns the lower area's grey, which the lower displays and knob corners share.
  static Rgb lowerGrey();

  // Returns the ink of the value displays, reused for the printed labels.
  static Rgb ink();

  // Returns the 350 × 430 face with panels, group frames, labels, title strip and credit line.
  RgbImage background() const;

  // Returns a 30 × 30 knob body whose corners are the given grey.
  RgbImage knobBody(Rgb cornerGrey) const;

  // Returns the 6 × 6 pointer dot on the white key.
  RgbImage knobHandle() const;

  // Returns the 20 × 180 slider groove with its scale.
  RgbImage sliderTrack() const;

  // Returns the 20 × 10 slider cap on the white key.
  RgbImage sliderHandle() const;

  // Returns the 20 × 54 button: the unlit state in rows 0–26, the lit state in rows 27–53.
  RgbImage button() const;

 private:
  int scale;
};

}  // namespace wrenfold
