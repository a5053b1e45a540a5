// Parameter mappings and value texts, checked as exact values and exact strings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>

#include "params/ParameterFormat.h"
#include "params/ParameterTable.h"

namespace wrenfold {
namespace {

using Formatter = void (*)(float, char*);

struct TextCase {
  const char* formatter;
  Formatter format;
  float value;
  const char* expected;
};

std::string textOf(Formatter format, float value) {
  char text[64];
  std::memset(text, 'X', sizeof text);
  format(value, text);
  return text;
}

TEST(ParameterFormat, ValueTextsAreExact) {
  const TextCase cases[] = {
      {"mode", formatMode, 1.0f, "reverse"},
      {"mode", formatMode, 0.0f, "normal"},
      {"mode", formatMode, 0.5f, "reverse"},
      {"mode", formatMode, 0.49f, "normal"},
      {"plain", formatPlainNumber, 0.0f, "0.0"},
      {"plain", formatPlainNumber, 1.0f, "1.0"},
      {"plain", formatPlainNumber, 0.1f, "0.1"},
      {"lpf", formatLpfCutoff, 0.9f, "12039Hz"},
      {"lpf", formatLpfCutoff, 0.999f, "19901Hz"},
      {"lpf", formatLpfCutoff, 1.0f, "off"},
      {"lpf", formatLpfCutoff, 0.0f, "20Hz"},
      {"hpf", formatHpfCutoff, 0.1f, "41Hz"},
      {"hpf", formatHpfCutoff, 0.0f, "off"},
      {"hpf", formatHpfCutoff, 0.0001f, "20Hz"},
      {"q", formatQ, 0.0f, "0.5"},
      {"q", formatQ, 0.4f, "1.9"},
      {"q", formatQ, 1.0f, "4.0"},
      {"tempo", formatTempo, 0.5f, "BPM130"},
      {"tempo", formatTempo, 1.0f, "BPM200"},
      {"tempo", formatTempo, 0.0f, "BPM60"},
      {"tempo", formatTempo, 0.9999f, "BPM199"},
      {"note", formatNoteLength, 0.5f, "1/4"},
      {"note", formatNoteLength, 0.6f, "1/8+1/16"},
      {"note", formatNoteLength, 0.65f, "1/8"},
      {"note", formatNoteLength, 1.0f, "1/64"},
      {"note", formatNoteLength, 0.0f, "1"},
      {"note", formatNoteLength, 0.9999f, "1/32"},
      {"feedback", formatFeedback, 0.33f, "33%"},
      {"level", formatLevel, 0.75f, "50%"},
      {"level", formatLevel, 0.0f, "-100%"},
      {"level", formatLevel, 0.2f, "-59%"},
      {"level", formatLevel, 0.95f, "89%"},
      {"level", formatLevel, 1.0f, "100%"},
      {"level", formatLevel, 0.5f, "0%"},
      {"pan", formatPan, 0.0f, "left100%"},
      {"pan", formatPan, 0.25f, "left50%"},
      {"pan", formatPan, 0.5f, "center"},
      {"pan", formatPan, 0.75f, "right50%"},
      {"pan", formatPan, 1.0f, "right100%"},
      {"pan", formatPan, 0.4951f, "center"},
      {"pan", formatPan, 0.5049f, "center"},
      {"pan", formatPan, 0.495f, "center"},
      {"pan", formatPan, 0.505f, "center"},
      {"pan", formatPan, 0.49f, "left1%"},
      {"pan", formatPan, 0.51f, "right1%"},
      {"ramp", formatRampTime, 0.1f, "1.00ms"},
      {"ramp", formatRampTime, 1.0f, "100.00ms"},
      {"ramp", formatRampTime, 0.0f, "off"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::string(c.formatter) + " of " + std::to_string(c.value));
    EXPECT_EQ(textOf(c.format, c.value), c.expected);
  }
}

TEST(ParameterFormat, OutOfRangeAndNanValuesGiveShortTexts) {
  const Formatter formatters[] = {
      formatMode,       formatPlainNumber, formatLpfCutoff, formatQ,   formatHpfCutoff, formatTempo,
      formatNoteLength, formatFeedback,    formatLevel,     formatPan, formatRampTime};
  const float values[] = {-1.0f,
                          2.0f,
                          1e30f,
                          -1e30f,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()};
  for (Formatter format : formatters)
    for (float value : values) {
      SCOPED_TRACE(value);
      EXPECT_LT(textOf(format, value).size(), 16u);
    }
}

TEST(ParameterMapping, NoteIndexCoversTheTableAndReachesTheLastEntryOnlyAtTheTop) {
  EXPECT_EQ(noteIndexFromValue(0.0f), 0);
  EXPECT_EQ(noteIndexFromValue(0.5f), 6);
  EXPECT_EQ(noteLengthTable[6].fraction, 0.25f);
  EXPECT_EQ(noteIndexFromValue(0.9999f), 12);
  EXPECT_EQ(noteIndexFromValue(1.0f), 13);
  EXPECT_EQ(noteLengthTable[13].fraction, 0.015625f);
}

TEST(ParameterMapping, NoteIndexStaysInsideTheTableForAnyValue) {
  const float values[] = {-1.0f,
                          -1e30f,
                          1.01f,
                          2.0f,
                          1e30f,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()};
  for (float value : values) {
    SCOPED_TRACE(value);
    const int32_t index = noteIndexFromValue(value);
    EXPECT_GE(index, 0);
    EXPECT_LT(index, noteLengthCount);
  }
}

TEST(ParameterMapping, CutoffQAndLevelSpanTheirRanges) {
  EXPECT_FLOAT_EQ(cutoffFromValue(0.0f), 20.0f);
  EXPECT_FLOAT_EQ(cutoffFromValue(1.0f), 20000.0f);
  EXPECT_EQ(qFromValue(0.0f), 0.5f);
  EXPECT_EQ(qFromValue(1.0f), 4.0f);
  EXPECT_EQ(levelFromValue(0.0f), -1.0f);
  EXPECT_EQ(levelFromValue(0.5f), 0.0f);
  EXPECT_EQ(levelFromValue(1.0f), 1.0f);
}

TEST(ParameterMapping, NamesAreTheHostTextsInIndexOrder) {
  const char* expected[] = {"NomorRev",  "ClearBuffer", "Bypass",    "LpfCutoff", "LpfQ",
                            "HpfCutoff", "TempoL",      "TempoR",    "NoteLenL",  "NoteLenR",
                            "FeedBackL", "FeedBackR",   "WetLevelL", "WetLevelR", "DryLevelL",
                            "DryLevelR", "WetPanL",     "WetPanR",   "RevAttack", "RevRelease"};
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(expected)); ++i)
    EXPECT_STREQ(parameterName(i), expected[i]);
  EXPECT_EQ(parameterName(-1), nullptr);
  EXPECT_EQ(parameterName(parameterCountTotal), nullptr);
}

TEST(ParameterMapping, TruncationSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(truncateToInt(-59.9999), -59);
  EXPECT_EQ(truncateToInt(12039.9), 12039);
  EXPECT_EQ(truncateToInt(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(truncateToInt(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(truncateToInt(std::nan("")), 0);
}

}  // namespace
}  // namespace wrenfold
