#include <gtest/gtest.h>

#include "tools/common/ModuleLocator.h"
#include "tools/common/ToolError.h"

namespace wrenfold {
namespace {

TEST(ModuleLocator, LooksBesideTheProgramThenInstalledThenSearchPathThenHome) {
  const std::vector<std::string> candidates =
      moduleCandidates("/p/bin", "../lib/vst", "/v", "/a::/b", "/home/u");
  const std::vector<std::string> expected = {
      "/p/bin/wrenfold.so",
      "/p/bin/../wrenfold.so",
      "/p/bin/../../wrenfold.so",
      "/p/bin/../lib/vst/wrenfold.so",
      "/v/wrenfold.so",
      "/a/wrenfold.so",
      "/b/wrenfold.so",
      "/home/u/.vst/wrenfold.so",
      "/home/u/.lxvst/wrenfold.so",
      "/usr/local/lib/vst/wrenfold.so",
      "/usr/lib/vst/wrenfold.so",
      "/usr/local/lib/lxvst/wrenfold.so",
      "/usr/lib/lxvst/wrenfold.so",
  };
  EXPECT_EQ(candidates, expected);
}

TEST(ModuleLocator, ReportsEveryPlaceTriedWhenNothingIsThere) {
  try {
    locateModule({"/nonexistent-a/wrenfold.so", "/nonexistent-b/wrenfold.so"});
    ADD_FAILURE() << "found a module";
  } catch (const ToolError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("/nonexistent-a/wrenfold.so, /nonexistent-b/wrenfold.so"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("--module"), std::string::npos) << message;
  }
}

TEST(ModuleLocator, PicksTheFirstExistingFile) {
  EXPECT_EQ(locateModule({"/nonexistent/wrenfold.so", WRENFOLD_TEST_EFFECT_PATH}),
            WRENFOLD_TEST_EFFECT_PATH);
}

}  // namespace
}  // namespace wrenfold
