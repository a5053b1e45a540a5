// Offsets in a window's editor pixels, from what every back end answers in device pixels.
#include "gui/platform/platform.h"
#include "gui/platform/shared/DeviceScale.h"

namespace wrenfold {
namespace platform {

Point editorPoint(Window* window, Point offset) {
  return window != nullptr ? toEditor(offset, windowScale(window)) : offset;
}

}  // namespace platform
}  // namespace wrenfold
