#pragma once

#include <string>

#include "base/HostInterface.h"

namespace wrenfold::hostkit {

// A plug-in module loaded from its file the way a host loads one (dlopen, or LoadLibrary on
// Windows) and reached only through its exported entry. Used by one thread, the driving thread of
// the tags below.
class ModuleLibrary {
 public:
  // What happens to the module's code when this object goes.
  enum class Unload {
    // Stays mapped: exit handlers and runtime data the module left behind still find their code.
    keepMapped,
    // Is unmapped when the system's count of loads drops to zero, as a host that rescans does.
    onDestroy,
  };

  // Loads the module file and finds its entry; error() says why when either failed. [driving
  // thread]
  explicit ModuleLibrary(const std::string& path, Unload unload = Unload::keepMapped);
  // Releases the module; every effect made from it must be closed by then. [driving thread]
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  // Returns whether the module is loaded and exports an entry. [driving thread]
  bool loaded() const { return defaultEntry != nullptr; }
  // Returns why loading or the last createEffect failed, one line naming the module; empty if not.
  // [driving thread]
  const std::string& error() const { return lastError; }
  // Returns the address of an exported symbol, or null. [driving thread]
  void* symbol(const char* name) const;
  // Returns the system's handle of the loaded module (on Windows its instance handle), or null.
  // [driving thread]
  void* nativeHandle() const { return handle; }
  // Calls the entry (`VSTPluginMain`, else `main`, or the one named) with `callback` and answers
  // the record once it passes checkRecord; null, with error() saying why, otherwise (also when
  // the module did not load). A record that fails the check is not called again, not even to
  // close it. [driving thread]
  AEffect* createEffect(audioMasterCallback callback, const char* entryName = nullptr);
  // Returns what makes a record unusable for a host (no interface magic, counts out of range, a
  // null dispatcher or parameter entry, no processing entry), or null when it is usable.
  // [any thread]
  static const char* checkRecord(const AEffect* effect);

 private:
  using Entry = AEffect*(WRENFOLD_CALL*)(audioMasterCallback);

  // Returns the named entry, or null. [driving thread]
  Entry entryNamed(const char* name) const;

  std::string modulePath;
  Unload unloadMode;
  void* handle = nullptr;
  Entry defaultEntry = nullptr;
  std::string lastError;
};

}  // namespace wrenfold::hostkit
