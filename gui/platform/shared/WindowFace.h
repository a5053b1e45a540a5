#pragma once

// What a back end's window shows before anything is drawn into it.

#include "gui/Color.h"

namespace wrenfold {
namespace platform {

// The colour of button faces, which Windows fills a new window with through its class brush.
constexpr Color windowFaceColor(0xd4, 0xd0, 0xc8);

}  // namespace platform
}  // namespace wrenfold
