// The symbols a host looks up in the module; built into the module only, never into programs
// that link the classes (they have a main of their own).
#include "base/HostInterface.h"
#include "plugin/PluginEntry.h"

extern "C" {

// The entry Linux hosts look for first.
__attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback hostCallback) {
  return wrenfold::createPluginInstance(hostCallback);
}

// The same function under the interface's classic name; a C++ function may not be called main,
// so the alias gets that name at the assembler level.
__attribute__((visibility("default"), alias("VSTPluginMain"))) AEffect* moduleMainEntry(
    audioMasterCallback hostCallback) __asm__("main");
}
