// The host kit takes any module a host would: unusual but valid records, a bare file name in the
// current folder, an entry exported only as `main`.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/ModuleFixture.h"

namespace wrenfold::hostkit {
namespace {

TEST(ModuleLibrary, LoadsEveryModuleAHostWould) {
  const std::string path = WRENFOLD_TEST_EFFECT_PATH;
  const std::string folder = path.substr(0, path.rfind('/'));
  struct Case {
    std::string module;
    const char* shape;   // the test effect's record shape
    const char* folder;  // where the module is loaded from, else null
  };
  const Case cases[] = {
      {path, "no-inputs", nullptr},
      {path, "no-programs", nullptr},
      {path, "adding-only", nullptr},
      {path, "replacing-only", nullptr},
      {path.substr(folder.size() + 1), "", folder.c_str()},
      {WRENFOLD_TEST_EFFECT_MAIN_ONLY_PATH, "", nullptr},
  };
  char start[4096];
  ASSERT_NE(getcwd(start, sizeof start), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.module + " " + c.shape);
    ASSERT_EQ(setenv("WRENFOLD_TEST_EFFECT_SHAPE", c.shape, 1), 0);
    ASSERT_EQ(chdir(c.folder != nullptr ? c.folder : start), 0);
    ModuleLibrary library(c.module);
    AEffect* effect = library.createEffect(Host::callback());
    EXPECT_NE(effect, nullptr) << library.error();
    if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  unsetenv("WRENFOLD_TEST_EFFECT_SHAPE");
  ASSERT_EQ(chdir(start), 0);
}

}  // namespace
}  // namespace wrenfold::hostkit
