// Drop-target registration of the editor window.
#include <new>

#include "gui/platform/win32/Win32DropTarget.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace platform {

bool registerDropTarget(Window* window) {
  if (window == nullptr) return false;
  auto* target = new (std::nothrow) win32::Win32DropTarget(win32::nativeWindow(window));
  if (target == nullptr) return false;
  // The reference held here keeps the target alive through a failed registration.
  target->AddRef();
  const bool registered = RegisterDragDrop(win32::nativeWindow(window), target) == S_OK;
  target->Release();
  return registered;
}

void revokeDropTarget(Window* window) {
  if (window != nullptr) RevokeDragDrop(win32::nativeWindow(window));
}

}  // namespace platform
}  // namespace wrenfold
