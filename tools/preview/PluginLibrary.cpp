#include "tools/preview/PluginLibrary.h"

#include <dlfcn.h>

#include "tools/preview/HostCallLog.h"

namespace wrenfold {

PluginLibrary::PluginLibrary(const std::string& path) {
  // dlopen searches the library path for a name without a slash; a host means the file. The
  // module stays mapped after dlclose, so exit handlers it registered still find their code.
  const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    error_ = reason != nullptr ? reason : "cannot load " + path;
    return;
  }
  void* symbol = dlsym(handle_, "VSTPluginMain");
  if (symbol == nullptr) symbol = dlsym(handle_, "main");
  if (symbol == nullptr) {
    error_ = path + " exports no plug-in entry";
    return;
  }
  entry_ = reinterpret_cast<Entry>(symbol);
}

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

AEffect* PluginLibrary::instantiate() {
  if (entry_ == nullptr) return nullptr;
  AEffect* effect = entry_(previewHostCallback);
  if (effect == nullptr || effect->magic != kEffectMagic) return nullptr;
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  return effect;
}

void PluginLibrary::close(AEffect* effect) {
  if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace wrenfold
