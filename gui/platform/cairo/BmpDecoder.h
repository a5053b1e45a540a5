#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wrenfold {

// An image decoded from a bitmap file: rows top to bottom, pixels as 0x00RRGGBB.
struct DecodedBitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Largest width or height accepted, so a corrupt header cannot ask for a huge image.
constexpr int32_t maximumBitmapSide = 16384;

// Reads the size of a BMP file that decodeBmp accepts as far as its headers and extents tell,
// without decoding it; answers false, leaving the size alone, when they already rule it out.
bool readBmpSize(const unsigned char* bytes, std::size_t size, int32_t& width, int32_t& height);

// Decodes an uncompressed 8-bit palettised BMP file (bottom-up or top-down) into `image`;
// answers false, leaving `image` empty, for anything else or anything inconsistent.
bool decodeBmp(const unsigned char* bytes, std::size_t size, DecodedBitmap& image);

}  // namespace wrenfold
