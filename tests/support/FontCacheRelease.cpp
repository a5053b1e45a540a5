// Frees cairo's and fontconfig's caches when the test program ends, so that the leak checker
// reports only what the code under test leaks.
#include <gtest/gtest.h>

#include "hostkit/LibraryCaches.h"

namespace {

class FontCacheRelease : public ::testing::Environment {
 public:
  void TearDown() override { wrenfold::hostkit::releaseLibraryCaches(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

}  // namespace
