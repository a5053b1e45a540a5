// Drop-target registration of the editor window.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace platform {

bool registerDropTarget(Window*) { return false; }

void revokeDropTarget(Window*) {}

}  // namespace platform
}  // namespace wrenfold
