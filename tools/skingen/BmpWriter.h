#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/skingen/RgbImage.h"

namespace wrenfold {

// Encodes palettised pictures as 8-bit, uncompressed, bottom-up device-independent bitmap files.
class BmpWriter {
 public:
  // Returns the complete file contents for the picture (palette padded to 256 entries).
  static std::vector<std::uint8_t> encode(const IndexedImage& image);

  // Writes the picture to the file at path; returns false when the file cannot be written.
  static bool write(const IndexedImage& image, const std::string& path);
};

}  // namespace wrenfold
