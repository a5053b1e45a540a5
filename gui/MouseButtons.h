#pragma once

#include <cstdint>

namespace wrenfold {

// Bit set of mouse buttons and modifier keys, as DrawContext::readMouseButtons answers it.
using MouseButtons = int32_t;

// Bits of MouseButtons.
enum : int32_t {
  leftButton = 1,
  middleButton = 2,
  rightButton = 4,
  shiftKey = 8,
  controlKey = 16,
  altKey = 32,
};

}  // namespace wrenfold
