#pragma once

#include <string>

#include "base/HostInterface.h"

namespace wrenfold {

// A module opened with dlopen and reached only through its exported entry, like a host does.
class PluginLibrary {
 public:
  // Loads the module file; error() says why when it could not.
  explicit PluginLibrary(const std::string& path);
  // Unloads the module; every effect must be closed by then.
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Calls the entry with the preview host's callback and sends effOpen; null when it answers no record.
  AEffect* instantiate();
  // Sends effClose to an effect from instantiate.
  static void close(AEffect* effect);
  // Returns why loading failed, empty when it did not.
  const std::string& error() const { return error_; }

 private:
  using Entry = AEffect* (*)(audioMasterCallback);
  void* handle_ = nullptr;
  Entry entry_ = nullptr;
  std::string error_;
};

}  // namespace wrenfold
