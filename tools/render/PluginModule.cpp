#include "tools/render/PluginModule.h"

#include <dlfcn.h>

#include "tools/render/HostCallback.h"
#include "tools/render/RenderError.h"

namespace wrenfold {

namespace {

std::string lastDlError() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown error";
}

}  // namespace

PluginModule::PluginModule(const std::string& path) : path_(path) {
  // dlopen treats a name without a slash as a library to search for; a host means the file.
  const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  // A module may carry its own C++ runtime, whose allocations live as long as the process does;
  // keeping the module mapped after dlclose keeps them reachable instead of orphaning them.
  handle_ = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle_ == nullptr) {
    throw RenderError("cannot load module: " + lastDlError());
  }
  dlerror();
  void* symbol = dlsym(handle_, "VSTPluginMain");
  if (symbol == nullptr) {
    symbol = dlsym(handle_, "main");
  }
  if (symbol == nullptr) {
    const std::string reason = lastDlError();
    dlclose(handle_);
    throw RenderError("module '" + path + "' exports no plug-in entry: " + reason);
  }
  entry_ = reinterpret_cast<EntryFunction>(symbol);
}

PluginModule::~PluginModule() { dlclose(handle_); }

std::unique_ptr<EffectInstance> PluginModule::instantiate() {
  AEffect* effect = entry_(renderHostCallback);
  if (effect == nullptr) {
    throw RenderError("module '" + path_ + "' answered no effect");
  }
  if (effect->magic != kEffectMagic) {
    throw RenderError("module '" + path_ + "' answered a record without the interface's magic");
  }
  return std::make_unique<EffectInstance>(effect);
}

}  // namespace wrenfold
