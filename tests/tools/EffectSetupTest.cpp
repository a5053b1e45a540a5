#include <gtest/gtest.h>

#include "tools/common/EffectSetup.h"
#include "tools/common/ToolError.h"

namespace wrenfold {
namespace {

const std::vector<std::string> programs = {"init", "space", "reverse FX", "like analog", "robot"};

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ToolError& error) {
    return error.what();
  }
  return "";
}

TEST(EffectSetup, FindsProgramsByNumberOrNameIgnoringCase) {
  const std::pair<const char*, int> cases[] = {
      {"0", 0}, {"4", 4}, {"space", 1}, {"Reverse FX", 2}, {"LIKE ANALOG", 3},
  };
  for (const auto& [text, program] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(findProgram(programs, text), program);
  }
}

TEST(EffectSetup, UnknownProgramsAreRefusedWithTheValidOnesListed) {
  for (const char* text : {"5", "-1", "spacey", "", "1.0"}) {
    SCOPED_TRACE(text);
    const std::string message = errorOf([&] { findProgram(programs, text); });
    EXPECT_NE(message.find("0 \"init\""), std::string::npos) << message;
    EXPECT_NE(message.find("4 \"robot\""), std::string::npos) << message;
  }
}

TEST(EffectSetup, FindsParametersExactlyFirstThenIgnoringCase) {
  const std::vector<std::string> names = {"TempoL", "tempol", "Bypass"};
  EXPECT_EQ(findParameter(names, "tempol"), 1);
  EXPECT_EQ(findParameter(names, "TempoL"), 0);
  EXPECT_EQ(findParameter(names, "BYPASS"), 2);
  const std::string message = errorOf([&] { findParameter(names, "Tempo"); });
  EXPECT_NE(message.find("TempoL, tempol, Bypass"), std::string::npos) << message;
}

TEST(EffectSetup, ProgramNamesBecomeFileNameParts) {
  const std::pair<const char*, const char*> cases[] = {
      {"init", "init"},     {"reverse FX", "reverse-fx"}, {"like analog", "like-analog"},
      {"  a / b  ", "a-b"}, {"../..", "program"},         {"", "program"},
  };
  for (const auto& [name, slug] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(programSlug(name), slug);
  }
}

TEST(EffectSetup, ExpandsEveryProgramPlaceholder) {
  EXPECT_EQ(expandProgramPlaceholder("out/demo-{program}.wav", "robot"), "out/demo-robot.wav");
  EXPECT_EQ(expandProgramPlaceholder("{program}/{program}.flac", "a"), "a/a.flac");
  EXPECT_EQ(expandProgramPlaceholder("plain.wav", "a"), "plain.wav");
}

}  // namespace
}  // namespace wrenfold
