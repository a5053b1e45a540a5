// The host kit takes any module a host would: unusual but valid records, a bare file name in the
// current folder, an entry exported only as `main`.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"

namespace wrenfold::hostkit {
namespace {

// Returns the folder part of a path, "." for none.
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Returns the file part of a path.
std::string fileOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

TEST(ModuleLibrary, LoadsEveryModuleAHostWould) {
  struct Case {
    const char* name;
    std::string path;
    const char* shape;  // the test effect's record shape
    bool fromItsFolder;  // loads the bare file name from the module's own folder
  };
  const Case cases[] = {
      {"no inputs", WRENFOLD_TEST_EFFECT_PATH, "no-inputs", false},
      {"no programs", WRENFOLD_TEST_EFFECT_PATH, "no-programs", false},
      {"only the adding entry", WRENFOLD_TEST_EFFECT_PATH, "adding-only", false},
      {"only the replacing entry", WRENFOLD_TEST_EFFECT_PATH, "replacing-only", false},
      {"a bare file name", fileOf(WRENFOLD_TEST_EFFECT_PATH), "", true},
      {"only main exported", WRENFOLD_TEST_EFFECT_MAIN_ONLY_PATH, "", false},
  };
  char start[4096];
  ASSERT_NE(getcwd(start, sizeof start), nullptr);
  const std::string startFolder = start;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(setenv("WRENFOLD_TEST_EFFECT_SHAPE", c.shape, 1), 0);
    ASSERT_EQ(chdir(c.fromItsFolder ? folderOf(WRENFOLD_TEST_EFFECT_PATH).c_str() : startFolder.c_str()), 0);
    ModuleLibrary library(c.path);
    AEffect* effect = library.createEffect(Host::callback());
    EXPECT_NE(effect, nullptr) << library.error();
    if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  unsetenv("WRENFOLD_TEST_EFFECT_SHAPE");
  ASSERT_EQ(chdir(startFolder.c_str()), 0);
}

}  // namespace
}  // namespace wrenfold::hostkit
