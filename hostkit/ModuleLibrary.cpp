#include "hostkit/ModuleLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace wrenfold::hostkit {

namespace {

// Far more than any real effect declares; a record beyond them is garbage, and a host that sized
// its channel buffers or parameter lists from it would exhaust memory.
constexpr int32_t mostChannels = 64;
constexpr int32_t mostProgramsOrParameters = 1 << 16;

bool inRange(int32_t count, int32_t most) { return count >= 0 && count <= most; }

#ifdef _WIN32
void* openLibrary(const std::string& path, ModuleLibrary::Unload, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr)
    error = path + ": cannot load (error " + std::to_string(GetLastError()) + ")";
  return module;
}

void* findSymbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

// A module is kept mapped simply by never releasing it.
void closeLibrary(void* handle, ModuleLibrary::Unload unload) {
  if (unload == ModuleLibrary::Unload::onDestroy) FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* openLibrary(const std::string& path, ModuleLibrary::Unload unload, std::string& error) {
  // dlopen searches the library path for a name without a slash; a host means the file.
  const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  const int keep = unload == ModuleLibrary::Unload::keepMapped ? RTLD_NODELETE : 0;
  void* handle = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL | keep);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : path + ": cannot load";
  }
  return handle;
}

void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }

// A module opened with RTLD_NODELETE stays mapped whatever dlclose does.
void closeLibrary(void* handle, ModuleLibrary::Unload) { dlclose(handle); }
#endif

}  // namespace

ModuleLibrary::ModuleLibrary(const std::string& path, Unload unload)
    : modulePath(path), unloadMode(unload) {
  handle = openLibrary(path, unload, lastError);
  if (handle == nullptr) return;
  defaultEntry = entryNamed("VSTPluginMain");
  if (defaultEntry == nullptr) defaultEntry = entryNamed("main");
  if (defaultEntry == nullptr) lastError = path + " exports no plug-in entry";
}

ModuleLibrary::~ModuleLibrary() {
  if (handle != nullptr) closeLibrary(handle, unloadMode);
}

void* ModuleLibrary::symbol(const char* name) const {
  return handle != nullptr ? findSymbol(handle, name) : nullptr;
}

ModuleLibrary::Entry ModuleLibrary::entryNamed(const char* name) const {
  return reinterpret_cast<Entry>(symbol(name));
}

AEffect* ModuleLibrary::createEffect(audioMasterCallback callback, const char* entryName) {
  if (handle == nullptr) return nullptr;  // error() still says why loading failed
  const Entry entry = entryName != nullptr ? entryNamed(entryName) : defaultEntry;
  if (entry == nullptr) {
    if (entryName != nullptr) lastError = modulePath + " exports no entry " + entryName;
    return nullptr;
  }
  AEffect* effect = entry(callback);
  if (effect == nullptr) {
    lastError = modulePath + " answered no effect";
    return nullptr;
  }
  if (const char* fault = checkRecord(effect)) {
    lastError = modulePath + " answered a record with " + fault;
    return nullptr;
  }
  lastError.clear();
  return effect;
}

const char* ModuleLibrary::checkRecord(const AEffect* effect) {
  if (effect->magic != kEffectMagic) return "no interface magic";
  if (!inRange(effect->numInputs, mostChannels) || !inRange(effect->numOutputs, mostChannels))
    return "a channel count out of range";
  if (!inRange(effect->numPrograms, mostProgramsOrParameters) ||
      !inRange(effect->numParams, mostProgramsOrParameters))
    return "a program or parameter count out of range";
  if (effect->dispatcher == nullptr || effect->setParameter == nullptr ||
      effect->getParameter == nullptr)
    return "a null entry";
  if (effect->process == nullptr && effect->processReplacing == nullptr)
    return "no processing entry";
  return nullptr;
}

}  // namespace wrenfold::hostkit
