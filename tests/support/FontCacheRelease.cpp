// Frees cairo's and fontconfig's caches when the test program ends, so that the leak checker
// reports only what the code under test leaks. Only a program may do this: a plug-in module must
// never reset the static data of libraries its host shares.
#include <cairo.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

class FontCacheRelease : public ::testing::Environment {
 public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    // fontconfig is reached through cairo's own dependency rather than linked again.
    using Finish = void (*)();
    if (auto finish = reinterpret_cast<Finish>(dlsym(RTLD_DEFAULT, "FcFini"))) finish();
  }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

}  // namespace
