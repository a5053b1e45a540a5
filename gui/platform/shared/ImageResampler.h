#pragma once

// Resizes a skin picture for a window's scale: area averaging when it shrinks, bilinear when it
// grows. Pixels of the key colour are holes, never blended into their neighbours: an output pixel
// is the key where keyed pixels cover at least half of what it is made from, else the weighted mean
// of the rest, so a keyed copy of the result keeps the picture's clean edges.

#include <cstdint>
#include <vector>

namespace wrenfold {

class ImageResampler {
 public:
  // Returns `pixels` (width × height, rows top to bottom, 0x00RRGGBB) resized to
  // targetWidth × targetHeight, with `key` (0x00RRGGBB) kept as holes; empty when a size is not
  // positive or the memory is short.
  static std::vector<uint32_t> resize(const uint32_t* pixels, int32_t width, int32_t height,
                                      int32_t targetWidth, int32_t targetHeight, uint32_t key);
};

}  // namespace wrenfold
