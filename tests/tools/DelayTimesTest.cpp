#include <gtest/gtest.h>

#include "tools/render/DelayTimes.h"

namespace wrenfold {
namespace {

TEST(DelayTimes, ReadsEveryNoteLengthText) {
  const std::pair<const char*, double> cases[] = {
      {"1", 1.0},         {"1/2+1/4", 0.75},      {"2/3", 2.0 / 3.0},   {"1/2", 0.5},
      {"1/4+1/8", 0.375}, {"1/3", 1.0 / 3.0},     {"1/4", 0.25},        {"1/8+1/16", 0.1875},
      {"1/8", 0.125},     {"1/16+1/32", 0.09375}, {"1/12", 1.0 / 12.0}, {"1/16", 0.0625},
      {"1/32", 0.03125},  {"1/64", 0.015625},
  };
  for (const auto& [text, fraction] : cases) {
    SCOPED_TRACE(text);
    const std::optional<double> read = noteFractionFromText(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_DOUBLE_EQ(*read, fraction);
  }
}

TEST(DelayTimes, RefusesTextsThatAreNoNoteLength) {
  for (const char* text : {"", "normal", "1/", "/4", "1/0", "0", "1/4+", "1//4", "1/4 ", "-1/4"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(noteFractionFromText(text).has_value());
  }
}

TEST(DelayTimes, ReadsTempoTextsOnly) {
  EXPECT_EQ(tempoFromText("BPM130"), 130.0);
  EXPECT_EQ(tempoFromText("BPM60"), 60.0);
  for (const char* text : {"", "BPM", "130", "BPM13x", "bpm130", "BPM0"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(tempoFromText(text).has_value());
  }
}

TEST(DelayTimes, MatchesTheFactoryProgramsDelaysAt44100) {
  struct Case {
    const char* note;
    double tempo;
    long frames;
  };
  const Case cases[] = {
      {"1/4", 130, 20353}, {"1/8+1/16", 130, 15265}, {"1/8", 130, 10176}, {"1/2", 102, 51882},
      {"1/3", 102, 34588}, {"1/8+1/16", 144, 13781}, {"1/64", 200, 826},  {"1", 60, 176400},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.note) + " at " + std::to_string(test.tempo));
    EXPECT_EQ(delayFrames(*noteFractionFromText(test.note), test.tempo, 44100.0f), test.frames);
  }
}

}  // namespace
}  // namespace wrenfold
