#include "hostkit/LibraryCaches.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace wrenfold::hostkit {

void releaseLibraryCaches() {
#ifndef _WIN32
  // Found at run time, so that programs without cairo link no cairo for this; cairo's fonts go
  // before the fontconfig they hold.
  using Release = void (*)();
  const char* const releases[] = {"cairo_debug_reset_static_data", "FcFini"};
  for (const char* name : releases)
    if (auto release = reinterpret_cast<Release>(dlsym(RTLD_DEFAULT, name))) release();
#endif
}

}  // namespace wrenfold::hostkit
