#include <gtest/gtest.h>

#include "tools/common/ToolError.h"
#include "tools/render/RenderOptions.h"

namespace wrenfold {
namespace {

TEST(RenderOptions, ReadsEveryOptionInBothSpellings) {
  const RenderOptions options =
      parseRenderOptions({"--program", "space", "--set", "TempoL=0.25", "--set=Bypass=1",
                          "--block=64", "--tail", "2.5", "--module", "m.so", "in.flac", "out.wav"});
  EXPECT_EQ(options.program, "space");
  ASSERT_EQ(options.settings.size(), 2u);
  EXPECT_EQ(options.settings[0].name, "TempoL");
  EXPECT_EQ(options.settings[0].value, "0.25");
  EXPECT_EQ(options.settings[1].name, "Bypass");
  EXPECT_EQ(options.settings[1].value, "1");
  EXPECT_EQ(options.blockSize, 64);
  EXPECT_DOUBLE_EQ(options.tailSeconds, 2.5);
  EXPECT_EQ(options.modulePath, "m.so");
  EXPECT_EQ(options.inputPath, "in.flac");
  EXPECT_EQ(options.outputPath, "out.wav");
}

TEST(RenderOptions, ListNeedsNoFiles) { EXPECT_TRUE(parseRenderOptions({"--list"}).list); }

TEST(RenderOptions, RejectsBadCommandLinesWithAMessageNamingTheProblem) {
  struct Case {
    std::vector<std::string> arguments;
    std::string mention;
  };
  const Case cases[] = {
      {{}, "no output"},
      {{"a", "b", "c"}, "too many"},
      {{"--block", "0", "o.wav"}, "--block"},
      {{"--block", "65537", "o.wav"}, "--block"},
      {{"--block", "12x", "o.wav"}, "--block"},
      {{"--tail", "-1", "o.wav"}, "--tail"},
      {{"--tail", "nan", "o.wav"}, "--tail"},
      {{"--set", "TempoL", "o.wav"}, "NAME=VALUE"},
      {{"--set", "=0.5", "o.wav"}, "NAME=VALUE"},
      {{"--set", "TempoL=", "o.wav"}, "0 to 1"},
      {{"--demo", "in.wav", "o.wav"}, "takes no input"},
      {{"--program"}, "needs a value"},
      {{"--frobnicate", "o.wav"}, "unknown option"},
  };
  for (const Case& test : cases) {
    std::string joined;
    for (const std::string& argument : test.arguments) {
      joined += argument + " ";
    }
    SCOPED_TRACE(joined);
    try {
      parseRenderOptions(test.arguments);
      ADD_FAILURE() << "accepted";
    } catch (const ToolError& error) {
      EXPECT_NE(std::string(error.what()).find(test.mention), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace wrenfold
