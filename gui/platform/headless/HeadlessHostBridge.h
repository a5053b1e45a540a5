#pragma once

#include "gui/platform/platform.h"

namespace wrenfold {
namespace headless {

// Connects a child window to a parent that is a program's HeadlessHostWindow record, so that the
// program can run its paints and read its pixels; any other parent is left alone.
void adoptHostWindow(void* parent, platform::Window* child);

}  // namespace headless
}  // namespace wrenfold
