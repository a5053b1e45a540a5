#pragma once

// A host window for programs that load the module and run its editor on the headless back end.
// Such a program has no window system: it passes the address of this record as the parent window
// of effEditOpen, calls processEvents (filled in by the module when its editor window appears) the
// way a host runs its event loop, and reads the editor's pixels from its own buffer.
// Plain C layout, because the module and the program each carry their own back end.

#include <cstdint>

namespace wrenfold {

// Marks a record as a HeadlessHostWindow ("WFHW").
constexpr uint32_t headlessHostWindowMagic = 0x57464857;

struct HeadlessHostWindow {
  uint32_t magic;       // headlessHostWindowMagic
  int32_t width;        // pixels of the buffer per row
  int32_t height;       // rows of the buffer
  uint32_t* pixels;     // width × height pixels, 0x00RRGGBB, owned by the program
  // Set by the module: handles pending paints of the editor window and copies its pixels into the
  // buffer. Null while no editor window is open.
  void (*processEvents)(HeadlessHostWindow* self);
  void* child;          // the module's editor window; for the module's use only
};

}  // namespace wrenfold
