// A host that hands the editor parents the module must never look into: an X11-style window id,
// a readable block of random bytes, null, and the address of a freed block. Each open must be
// answered without a crash; the editor is then idled and closed, and the effect closed.
// Usage: wrenfold-foreign-parent-host MODULE; exit status 0 when every open behaved.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"

using namespace wrenfold::hostkit;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s MODULE\n", argv[0]);
    return 2;
  }
  ModuleLibrary module(argv[1], ModuleLibrary::Unload::onDestroy);
  AEffect* effect = module.createEffect(Host::callback());
  if (effect == nullptr) {
    std::fprintf(stderr, "%s\n", module.error().c_str());
    return 1;
  }

  unsigned char randomBytes[512];
  std::mt19937 generator(20240607u);
  for (unsigned char& byte : randomBytes) byte = static_cast<unsigned char>(generator());
  void* block = std::malloc(64);
  volatile uintptr_t freedAddress = reinterpret_cast<uintptr_t>(block);  // kept as a number only
  std::free(block);
  struct Parent {
    const char* name;
    void* handle;
  };
  const Parent parents[] = {
      {"X11 window id", reinterpret_cast<void*>(uintptr_t{0x3a00007})},
      {"random readable bytes", randomBytes},
      {"null", nullptr},
      {"freed block", reinterpret_cast<void*>(freedAddress)},
  };
  int failures = 0;
  for (const Parent& parent : parents) {
    ERect* rect = nullptr;
    dispatch(effect, effEditGetRect, 0, 0, &rect);
    const intptr_t opened = dispatch(effect, effEditOpen, 0, 0, parent.handle);
    dispatch(effect, effEditIdle);
    dispatch(effect, effEditClose);
    if (opened != 0) {
      std::fprintf(stderr, "%s: effEditOpen answered %ld, expected 0\n", parent.name,
                   static_cast<long>(opened));
      ++failures;
    }
  }
  if (dispatch(effect, effClose) != 1) ++failures;
  std::printf("%d passed, %d failed\n", 4 - failures, failures);
  return failures == 0 ? 0 : 1;
}
