#pragma once

#include <string>
#include <vector>

#include "tools/skingen/RgbImage.h"
#include "tools/skingen/SkinLayout.h"

namespace wrenfold {

// Writes PNG pictures for looking at the skin: never part of the plug-in.
class SkinPreview {
 public:
  // Writes the images side by side, magnified by scale, to a PNG; returns false on failure.
  static bool writeSheet(const std::vector<RgbImage>& images, int scale, const std::string& path);

  // Writes the face, magnified by scale, with every control's rectangle outlined; returns false on
  // failure.
  static bool writeOverlay(const RgbImage& face, const std::vector<ControlBox>& controls, int scale,
                           const std::string& path);

  // Writes the face with the other six images placed on it as the editor shows them, magnified by
  // scale.
  static bool writeMockup(const std::vector<RgbImage>& images, int scale, const std::string& path);
};

}  // namespace wrenfold
