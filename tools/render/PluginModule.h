#pragma once

#include <memory>
#include <string>

#include "tools/render/EffectInstance.h"

namespace wrenfold {

// A plug-in module opened with dlopen and reached only through its exported entry.
class PluginModule {
 public:
  // Opens the module; throws RenderError carrying dlerror's text when it cannot be loaded or
  // exports no entry.
  explicit PluginModule(const std::string& path);
  // Unloads the module; every instance must be gone by then.
  ~PluginModule();

  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Calls the entry with this host's callback; throws RenderError when it answers no valid record.
  std::unique_ptr<EffectInstance> instantiate();
  // Returns the path the module was loaded from.
  const std::string& path() const { return path_; }

 private:
  using EntryFunction = AEffect* (*)(audioMasterCallback);

  std::string path_;
  void* handle_ = nullptr;
  EntryFunction entry_ = nullptr;
};

}  // namespace wrenfold
