#pragma once

// The built module loaded through the host kit the way a host loads it; the effects a test made
// are closed when the test ends.
#include <algorithm>
#include <vector>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"

namespace wrenfold::testing {

class LoadedModule : public hostkit::ModuleLibrary {
 public:
  // Loads the module of this build tree.
  LoadedModule() : ModuleLibrary(WRENFOLD_MODULE_PATH) {}
  // Closes the effects still open.
  ~LoadedModule() {
    for (AEffect* effect : openEffects) hostkit::dispatch(effect, effClose);
  }

  // Creates an effect through the named entry with the kit's host; the fixture closes it at the
  // end.
  AEffect* createEffect(const char* entryName = "VSTPluginMain") {
    AEffect* effect = ModuleLibrary::createEffect(hostkit::Host::callback(), entryName);
    if (effect != nullptr) openEffects.push_back(effect);
    return effect;
  }
  // Closes an effect created by createEffect before the fixture ends.
  void closeEffect(AEffect* effect) {
    openEffects.erase(std::remove(openEffects.begin(), openEffects.end(), effect),
                      openEffects.end());
    hostkit::dispatch(effect, effClose);
  }

 private:
  std::vector<AEffect*> openEffects;
};

}  // namespace wrenfold::testing
