#pragma once

#include <cstddef>

namespace wrenfold {

// One skin bitmap file, compiled into the module.
struct EmbeddedBitmap {
  int id;
  const unsigned char* bytes;
  std::size_t size;
};

// Returns the embedded bitmap file with the given resource id, or null when there is none.
const EmbeddedBitmap* findEmbeddedBitmap(int id);

}  // namespace wrenfold
