// The delay effect: parameters and their side effects, programs, texts and the processing block.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "base/Allocation.h"
#include "base/Version.h"
#include "delay/DelayEffect.h"
#include "dsp/DelayLine.h"
#include "dsp/LoopFilter.h"
#include "dsp/ReverseEnvelope.h"
#include "hostkit/Host.h"
#include "plugin/PluginEntry.h"
#include "support/StereoBlock.h"

namespace wrenfold {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

using Block = testing::StereoBlock;

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Makes every repeat come out unfiltered and at full level on its own side, without dry signal.
void makeEchoesPlain(DelayEffect& effect) {
  effect.applyParameter(LpfCutoff, 1.0f);
  effect.applyParameter(HpfCutoff, 0.0f);
  effect.applyParameter(FeedBackL, 0.0f);
  effect.applyParameter(FeedBackR, 0.0f);
  effect.applyParameter(WetLevelL, 1.0f);
  effect.applyParameter(WetLevelR, 1.0f);
  effect.applyParameter(DryLevelL, 0.5f);
  effect.applyParameter(DryLevelR, 0.5f);
  effect.applyParameter(WetPanL, 0.0f);
  effect.applyParameter(WetPanR, 1.0f);
}

// Fills both delay lines with a constant signal.
void fillLines(DelayEffect& effect) {
  Block block(effect.delayLength(0) + effect.delayLength(1), 0.5f);
  block.run(effect);
}

// Returns whether anything comes out of the delays during one pass over the longer line.
bool echoesRemain(DelayEffect& effect) {
  Block block(std::max(effect.delayLength(0), effect.delayLength(1)));
  block.run(effect);
  for (size_t i = 0; i < block.outL.size(); ++i)
    if (block.outL[i] != 0.0f || block.outR[i] != 0.0f) return true;
  return false;
}

class DelayEffectTest : public ::testing::Test {
 protected:
  DelayEffect effect{nullptr};
  // Selects the shortest program and makes echoes plain, so clearing is easy to observe.
  void useShortPlainEchoes() {
    effect.selectProgram(4);
    makeEchoesPlain(effect);
  }
};

TEST_F(DelayEffectTest, FreshEffectHoldsProgramZeroAndDescribesItself) {
  ASSERT_TRUE(effect.isComplete());
  EXPECT_EQ(effect.programNumber(), 0);
  char name[32];
  effect.copyProgramName(name);
  EXPECT_STREQ(name, "init");
  EXPECT_EQ(effect.parameterValue(LpfCutoff), 0.9f);
  const AEffect* record = effect.effectRecord();
  EXPECT_EQ(record->numInputs, 2);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->numPrograms, 5);
  EXPECT_EQ(record->numParams, parameterCountTotal);
  EXPECT_EQ(record->flags & (effFlagsCanMono | effFlagsCanReplacing),
            effFlagsCanMono | effFlagsCanReplacing);
  EXPECT_EQ(record->uniqueID, fourCharCode('Q', 'W', 'N', '3'));
  EXPECT_EQ(effect.processingSampleRate(), 44100.0f);
  char text[64];
  EXPECT_TRUE(effect.copyEffectName(text));
  EXPECT_STREQ(text, effectNameText);
  EXPECT_TRUE(effect.copyVendorString(text));
  EXPECT_STREQ(text, "hollow reed tone");
  EXPECT_TRUE(effect.copyProductString(text));
  EXPECT_STREQ(text, "hollow reed tone");
}

TEST_F(DelayEffectTest, ProgramZeroSetsFiltersAndBothDelays) {
  EXPECT_EQ(effect.delayLength(0), 20353);
  EXPECT_EQ(effect.delayLength(1), 20353);
  const LoopFilter* filter = effect.loopFilter(0);
  EXPECT_NEAR(filter->lowPassCutoff(), 12039.0f, 1.0f);
  EXPECT_EQ(filter->lowPassQ(), 0.5f);
  EXPECT_NEAR(filter->highPassCutoff(), 41.0f, 1.0f);
  EXPECT_EQ(effect.engineValue(WetLevelL), 0.5f);
  EXPECT_EQ(effect.engineValue(TempoL), 130.0f);
  EXPECT_EQ(effect.engineValue(NoteLenL), 0.25f);
}

TEST_F(DelayEffectTest, UnknownIndicesChangeNothingAndReadZero) {
  float before[parameterCountTotal];
  for (int32_t i = 0; i < parameterCountTotal; ++i) before[i] = effect.parameterValue(i);
  effect.applyParameter(parameterCountTotal, 0.7f);
  effect.applyParameter(-1, 0.7f);
  for (int32_t i = 0; i < parameterCountTotal; ++i) EXPECT_EQ(effect.parameterValue(i), before[i]);
  EXPECT_EQ(effect.parameterValue(parameterCountTotal), 0.0f);
  EXPECT_EQ(effect.parameterValue(-1), 0.0f);
}

TEST_F(DelayEffectTest, SwitchesStoreExactlyZeroOrOne) {
  const struct {
    int32_t index;
    float written;
    float stored;
  } cases[] = {{Bypass, 0.49f, 0.0f},   {Bypass, 0.5f, 1.0f},      {Bypass, 0.7f, 1.0f},
               {NomorRev, 0.49f, 0.0f}, {NomorRev, 0.5f, 1.0f},    {NomorRev, nan, 0.0f},
               {Bypass, nan, 0.0f},     {ClearBuffer, 0.7f, 1.0f}, {ClearBuffer, 0.2f, 0.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(parameterName(c.index)) + " " + std::to_string(c.written));
    effect.applyParameter(c.index, c.written);
    EXPECT_TRUE(sameBits(effect.parameterValue(c.index), c.stored));
  }
}

TEST_F(DelayEffectTest, ParameterValueReturnsTheNormalisedValueNotTheMappedOne) {
  effect.applyParameter(TempoL, 0.3f);
  EXPECT_EQ(effect.parameterValue(TempoL), 0.3f);
  EXPECT_EQ(effect.engineValue(TempoL), 102.0f);
  effect.applyParameter(WetLevelL, 0.0f);
  EXPECT_EQ(effect.engineValue(WetLevelL), -1.0f);
}

TEST_F(DelayEffectTest, ClearLatchClearsOnRisingEdgesOnly) {
  useShortPlainEchoes();
  const struct {
    float written;
    bool clears;
    float stored;
  } steps[] = {{1.0f, true, 1.0f},  {1.0f, false, 1.0f}, {0.0f, false, 0.0f}, {1.0f, true, 1.0f},
               {0.5f, false, 0.0f}, {0.5f, true, 1.0f},  {0.75f, false, 1.0f}};
  int step = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(step++);
    fillLines(effect);
    effect.applyParameter(ClearBuffer, s.written);
    EXPECT_EQ(effect.parameterValue(ClearBuffer), s.stored);
    EXPECT_EQ(echoesRemain(effect), !s.clears);
  }
}

TEST_F(DelayEffectTest, ModeTempoAndNoteWritesRestartBothLinesEvenWhenUnchanged) {
  useShortPlainEchoes();
  for (int32_t index : {NomorRev, NomorRev, TempoL, TempoR, NoteLenL, NoteLenR}) {
    SCOPED_TRACE(parameterName(index));
    fillLines(effect);
    effect.applyParameter(index, effect.parameterValue(index));
    EXPECT_FALSE(echoesRemain(effect));
  }
}

TEST_F(DelayEffectTest, ChangingTheRightTempoAlsoSilencesTheLeftEchoes) {
  useShortPlainEchoes();
  fillLines(effect);
  effect.applyParameter(TempoR, 0.2f);
  Block block(effect.delayLength(0));
  block.run(effect);
  for (float sample : block.outL) ASSERT_EQ(sample, 0.0f);
}

TEST_F(DelayEffectTest, DelayLengthsFollowTempoNoteAndRate) {
  const struct {
    float rate, note, tempo;
    int32_t samples;
  } cases[] = {{44100.0f, 0.0f, 0.0f, 176400},
               {44100.0f, 1.0f, 1.0f, 826},
               {44100.0f, 0.5f, 0.5f, 20353},
               {48000.0f, 0.0f, 0.0f, 192000},
               {22050.0f, 0.5f, 0.5f, 10176}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    effect.changeSampleRate(c.rate);
    effect.applyParameter(NoteLenL, c.note);
    effect.applyParameter(TempoL, c.tempo);
    EXPECT_EQ(effect.delayLength(0), c.samples);
  }
}

TEST_F(DelayEffectTest, HigherRateGrowsStorageAndLowerRateKeepsIt) {
  EXPECT_EQ(effect.delayCapacity(0), 176400);
  effect.changeSampleRate(48000.0f);
  EXPECT_EQ(effect.delayCapacity(0), 192000);
  EXPECT_EQ(effect.delayCapacity(1), 192000);
  effect.changeSampleRate(22050.0f);
  EXPECT_EQ(effect.delayCapacity(0), 192000);
  EXPECT_EQ(effect.processingSampleRate(), 22050.0f);
  EXPECT_EQ(effect.delayLength(0), 10176);
}

TEST_F(DelayEffectTest, UnusableSampleRatesAreIgnored) {
  effect.changeSampleRate(48000.0f);
  for (float rate : {nan, inf, -inf, 0.0f, -44100.0f, 1000001.0f, 1e30f}) {
    SCOPED_TRACE(rate);
    effect.changeSampleRate(rate);
    EXPECT_EQ(effect.processingSampleRate(), 48000.0f);
    EXPECT_EQ(effect.delayCapacity(0), 192000);
    EXPECT_EQ(effect.delayLength(0), 22153);
  }
  effect.changeSampleRate(1000000.0f);
  EXPECT_EQ(effect.delayCapacity(0), 4000000);
}

TEST_F(DelayEffectTest, ValuesOutsideTheRangeOrNanLeaveValidDelayLengths) {
  const int32_t indices[] = {TempoL, NoteLenL, TempoR, NoteLenR};
  const float values[] = {nan, -1.0f, -0.43f, -0.4285714f, 2.0f, 1e30f, -1e30f, inf, -inf};
  for (int32_t index : indices)
    for (float value : values) {
      SCOPED_TRACE(std::string(parameterName(index)) + " " + std::to_string(value));
      effect.applyParameter(index, value);
      char text[64];
      effect.copyParameterDisplay(index, text);
      EXPECT_LT(std::strlen(text), 16u);
      // The sanitizer build checks every access of this block against the storage.
      Block block(4096, 0.25f);
      block.run(effect);
      for (size_t i = 0; i < block.outL.size(); ++i)
        ASSERT_TRUE(std::isfinite(block.outL[i]) && std::isfinite(block.outR[i])) << i;
      effect.applyParameter(index, 0.5f);
    }
}

TEST_F(DelayEffectTest, ProgramsCarryTheirDelayTimes) {
  const struct {
    int32_t program;
    int32_t left, right;
    bool reversed;
  } cases[] = {{0, 20353, 20353, false},
               {1, 15265, 10176, false},
               {2, 51882, 34588, true},
               {3, 13781, 13781, false},
               {4, 826, 826, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    effect.selectProgram(c.program);
    EXPECT_EQ(effect.programNumber(), c.program);
    EXPECT_EQ(effect.delayLength(0), c.left);
    EXPECT_EQ(effect.delayLength(1), c.right);
    EXPECT_EQ(effect.delayLine(0)->readsBackwards(), c.reversed);
    EXPECT_EQ(effect.parameterValue(NomorRev), c.reversed ? 1.0f : 0.0f);
    EXPECT_EQ(effect.reverseEnvelope(0)->activeLength(), c.left);
    EXPECT_EQ(effect.reverseEnvelope(1)->activeLength(), c.right);
  }
}

TEST_F(DelayEffectTest, DisplayTextsOfEveryFactoryProgram) {
  const std::vector<std::vector<const char*>> expected = {
      {"normal", "0.0", "0.0", "12039Hz", "0.5",  "41Hz", "BPM130",   "BPM130",    "1/4", "1/4",
       "50%",    "50%", "50%", "50%",     "100%", "100%", "left100%", "right100%", "0.1", "0.1"},
      {"normal", "0.0",      "0.0",      "2163Hz",    "1.9", "41Hz", "BPM130",
       "BPM130", "1/8+1/16", "1/8",      "40%",       "40%", "60%",  "-59%",
       "100%",   "100%",     "left100%", "right100%", "0.1", "0.1"},
      {"reverse", "0.0", "0.0", "2163Hz", "2.1", "134Hz", "BPM102",   "BPM102",    "1/2", "1/3",
       "33%",     "33%", "89%", "89%",    "60%", "60%",   "left100%", "right100%", "0.1", "0.1"},
      {"normal", "0.0", "0.0", "3983Hz", "0.7",  "65Hz", "BPM144", "BPM144", "1/8+1/16", "1/8+1/16",
       "50%",    "50%", "60%", "60%",    "100%", "100%", "center", "center", "0.1",      "0.1"},
      {"normal", "0.0", "0.0", "1784Hz", "2.4",  "245Hz", "BPM200",  "BPM200",   "1/64", "1/64",
       "28%",    "28%", "89%", "89%",    "100%", "100%",  "left50%", "right50%", "0.1",  "0.1"}};
  const char* names[5] = {"init", "space", "reverse FX", "like analog", "robot"};
  for (int32_t program = 0; program < 5; ++program) {
    effect.selectProgram(program);
    char text[64];
    effect.copyProgramName(text);
    EXPECT_STREQ(text, names[program]);
    for (int32_t index = 0; index < static_cast<int32_t>(expected[program].size()); ++index) {
      SCOPED_TRACE(std::string(names[program]) + " " + parameterName(index));
      effect.copyParameterDisplay(index, text);
      EXPECT_STREQ(text, expected[program][index]);
    }
  }
}

TEST_F(DelayEffectTest, LabelsAreNamesAndUnknownIndicesLeaveTheBufferAlone) {
  char name[32], label[32];
  effect.copyParameterName(TempoL, name);
  effect.copyParameterLabel(TempoL, label);
  EXPECT_STREQ(label, name);
  std::strcpy(name, "keep");
  effect.copyParameterName(parameterCountTotal, name);
  effect.copyParameterLabel(-1, name);
  EXPECT_STREQ(name, "keep");
}

TEST_F(DelayEffectTest, EditsAreKeptPerProgram) {
  effect.selectProgram(1);
  effect.applyParameter(FeedBackL, 0.7f);
  effect.selectProgram(3);
  EXPECT_EQ(effect.parameterValue(FeedBackL), 0.5f);
  effect.selectProgram(1);
  EXPECT_EQ(effect.parameterValue(FeedBackL), 0.7f);
  EXPECT_EQ(effect.engineValue(FeedBackL), 0.7f);
}

TEST_F(DelayEffectTest, OutOfRangeProgramIndicesAreIgnored) {
  effect.selectProgram(2);
  effect.selectProgram(5);
  effect.selectProgram(-1);
  EXPECT_EQ(effect.programNumber(), 2);
}

TEST_F(DelayEffectTest, SelectingTheSameProgramAgainClearsTheLines) {
  useShortPlainEchoes();
  fillLines(effect);
  effect.selectProgram(4);
  EXPECT_FALSE(echoesRemain(effect));
}

TEST_F(DelayEffectTest, RenameChangesOnlyTheCurrentProgram) {
  effect.selectProgram(4);
  char name[] = "abc";
  effect.renameProgram(name);
  char text[32];
  effect.copyProgramName(text);
  EXPECT_STREQ(text, "abc");
  effect.selectProgram(3);
  effect.copyProgramName(text);
  EXPECT_STREQ(text, "like analog");
}

TEST_F(DelayEffectTest, LongNamesAreCutTo23CharactersWithoutTouchingTheValues) {
  effect.selectProgram(1);
  const ProgramRecord before = *effect.program(1);
  const ProgramRecord next = *effect.program(2);
  char longName[] = "a name that is much longer than twenty-three characters";
  effect.renameProgram(longName);
  char text[64];
  effect.copyProgramName(text);
  EXPECT_STREQ(text, "a name that is much lon");
  EXPECT_EQ(std::strlen(text), 23u);
  EXPECT_EQ(std::memcmp(effect.program(1)->values, before.values, sizeof before.values), 0);
  EXPECT_EQ(std::memcmp(effect.program(2), &next, sizeof next), 0);
}

TEST_F(DelayEffectTest, BypassIsBitIdenticalWhenReplacingAndAdditiveWhenAccumulating) {
  effect.applyParameter(Bypass, 1.0f);
  Block block(512);
  for (int i = 0; i < 512; ++i) {
    block.inL[i] = std::sin(0.01f * i) * 0.7f + 1e-39f;
    block.inR[i] = -0.3f * static_cast<float>(i % 7) + 1.0f / 3.0f;
  }
  block.outL.assign(512, 123.0f);
  block.run(effect, true);
  for (int i = 0; i < 512; ++i) {
    ASSERT_TRUE(sameBits(block.outL[i], block.inL[i])) << i;
    ASSERT_TRUE(sameBits(block.outR[i], block.inR[i])) << i;
  }
  block.outL.assign(512, 0.25f);
  block.outR.assign(512, -2.0f);
  block.run(effect, false);
  for (int i = 0; i < 512; ++i) {
    ASSERT_EQ(block.outL[i], 0.25f + block.inL[i]) << i;
    ASSERT_EQ(block.outR[i], -2.0f + block.inR[i]) << i;
  }
}

TEST_F(DelayEffectTest, SilentWetLevelsGiveOutputEqualToInputWhileTheLinesFill) {
  effect.selectProgram(4);
  effect.applyParameter(WetLevelL, 0.5f);
  effect.applyParameter(WetLevelR, 0.5f);
  Block block(3000);
  for (int i = 0; i < 3000; ++i) {
    block.inL[i] = std::sin(0.05f * i);
    block.inR[i] = std::cos(0.03f * i);
  }
  block.run(effect);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(block.outL[i], block.inL[i]) << i;
    ASSERT_EQ(block.outR[i], block.inR[i]) << i;
  }
  effect.applyParameter(WetLevelL, 1.0f);
  Block probe(826);
  probe.run(effect);
  float energy = 0.0f;
  for (float s : probe.outL) energy += s * s;
  EXPECT_GT(energy, 0.0f);
}

TEST_F(DelayEffectTest, PlainEchoComesOutUnchangedOneDelayLater) {
  makeEchoesPlain(effect);
  effect.applyParameter(DryLevelL, 1.0f);
  const int32_t n = effect.delayLength(0);
  Block block(n + 10);
  block.inL[0] = 1.0f;
  block.run(effect);
  EXPECT_EQ(block.outL[0], 1.0f);
  for (int32_t i = 1; i < n + 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(block.outL[i], i == n ? 1.0f : 0.0f);
    EXPECT_EQ(block.outR[i], 0.0f);
  }
}

TEST_F(DelayEffectTest, PanCrossFeedsEchoesIntoBothSides) {
  effect.selectProgram(4);
  makeEchoesPlain(effect);
  effect.applyParameter(WetPanL, 0.25f);
  Block block(826 + 1);
  block.inL[0] = 1.0f;
  block.run(effect);
  EXPECT_EQ(block.outL[826], 0.75f);
  EXPECT_EQ(block.outR[826], 0.25f);
}

TEST_F(DelayEffectTest, ReverseModeShapesWhatIsHeardButNotTheFeedback) {
  effect.selectProgram(4);
  makeEchoesPlain(effect);
  effect.applyParameter(RevAttack, 0.0f);
  effect.applyParameter(RevRelease, 0.0f);
  effect.applyParameter(NomorRev, 1.0f);
  // With flat envelopes a backward line plays each half-length fragment reversed. The inputs
  // count in steps of 1/256 (exact, and below the loop bound), so each names its frame.
  const int32_t n = effect.delayLength(0);
  const float step = 1.0f / 256.0f;
  Block block(2 * n);
  for (int32_t i = 0; i < 2 * n; ++i) block.inL[i] = static_cast<float>(i + 1) * step;
  block.run(effect);
  // Step t reads what was written d = 2t mod n steps earlier (n when that is 0).
  for (int32_t t = n / 2 + 1; t < 2 * n; ++t) {
    const int32_t d = (2 * t) % n == 0 ? n : (2 * t) % n;
    const float expected = t - d >= 0 ? static_cast<float>(t - d + 1) * step : 0.0f;
    ASSERT_EQ(block.outL[t], expected) << t;
  }
  // A ramped envelope scales each output sample by its table entry.
  effect.applyParameter(RevAttack, 0.5f);
  effect.applyParameter(NomorRev, 1.0f);
  Block ramped(2 * n);
  ramped.inL = block.inL;
  ramped.run(effect);
  const ReverseEnvelope* envelope = effect.reverseEnvelope(0);
  for (int32_t t = 0; t < 2 * n; ++t)
    ASSERT_EQ(ramped.outL[t], block.outL[t] * envelope->gainAt(t % n)) << t;
}

// A non-finite host sample counts as silence in the loop and on the dry path, also when the dry
// level is silent (0 x NaN would be NaN): the output is the clean input's, frame for frame.
TEST_F(DelayEffectTest, NonFiniteInputIsSilenceInTheLoopAndOnTheDryPath) {
  for (float dry : {1.0f, 0.5f})
    for (float bad : {nan, inf, -inf}) {
      SCOPED_TRACE(std::to_string(dry) + " " + std::to_string(bad));
      DelayEffect poisonedEffect(nullptr), cleanEffect(nullptr);
      for (DelayEffect* e : {&poisonedEffect, &cleanEffect}) {
        e->selectProgram(4);
        e->applyParameter(FeedBackL, 0.9f);
        e->applyParameter(DryLevelL, dry);
      }
      Block poisoned(4000), clean(4000);
      for (int i = 0; i < 4000; ++i) {
        poisoned.inL[i] = clean.inL[i] = std::sin(0.02f * i);
        poisoned.inR[i] = clean.inR[i] = 0.1f;
      }
      for (int i = 100; i < 164; ++i) {
        poisoned.inL[i] = bad;
        clean.inL[i] = 0.0f;
      }
      poisoned.run(poisonedEffect);
      clean.run(cleanEffect);
      for (int i = 0; i < 4000; ++i) {
        ASSERT_TRUE(sameBits(poisoned.outL[i], clean.outL[i])) << i;
        ASSERT_TRUE(sameBits(poisoned.outR[i], clean.outR[i])) << i;
      }
    }
}

TEST_F(DelayEffectTest, RunawayFeedbackRecoversInsteadOfSettlingOnNan) {
  effect.selectProgram(4);
  effect.applyParameter(FeedBackL, 1.0f);
  effect.applyParameter(FeedBackR, 1.0f);
  effect.applyParameter(LpfQ, 1.0f);
  effect.applyParameter(LpfCutoff, 0.3f);
  Block loud(826 * 200);
  for (size_t i = 0; i < loud.inL.size(); ++i)
    loud.inL[i] = loud.inR[i] = (i % 37 < 18 ? 1e37f : -1e37f);
  loud.run(effect);
  effect.applyParameter(FeedBackL, 0.0f);
  effect.applyParameter(FeedBackR, 0.0f);
  Block quiet(826 * 40);
  quiet.run(effect);
  for (size_t i = 826; i < quiet.outL.size(); ++i) {
    ASSERT_TRUE(std::isfinite(quiet.outL[i])) << i;
    ASSERT_TRUE(std::isfinite(quiet.outR[i])) << i;
  }
  EXPECT_LT(std::fabs(quiet.outL.back()), 1e-3f);
}

// A host that changes delay times from another thread while processing runs must not make
// processing read or write outside the storage; the sanitizer build checks every access.
TEST_F(DelayEffectTest, DelayTimeChangesRacingProcessingStayInsideTheStorage) {
  effect.applyParameter(NomorRev, 1.0f);
  std::atomic<bool> done{false};
  std::thread host([&] {
    for (int i = 0; i < 200; ++i) {
      effect.applyParameter(i % 2 == 0 ? NoteLenL : TempoR, (i % 7) / 6.0f);
      effect.applyParameter(NoteLenR, (i % 5) / 4.0f);
    }
    done = true;
  });
  Block block(256, 0.25f);
  while (!done) block.run(effect);
  host.join();
  // Once the race is over the lengths are those of the last writes, as if nothing had raced.
  DelayEffect quiet(nullptr);
  quiet.applyParameter(NoteLenL, 2.0f / 6.0f);
  quiet.applyParameter(TempoR, 3.0f / 6.0f);
  quiet.applyParameter(NoteLenR, 1.0f);
  for (int32_t channel : {0, 1}) EXPECT_EQ(effect.delayLength(channel), quiet.delayLength(channel));
}

TEST_F(DelayEffectTest, SuspendSilencesEchoesWithoutMovingPositions) {
  useShortPlainEchoes();
  Block block(1000, 0.5f);
  block.run(effect);
  const int32_t readBefore = effect.delayLine(0)->readPosition();
  const int32_t writeBefore = effect.delayLine(0)->writePosition();
  effect.dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(effect.delayLine(0)->readPosition(), readBefore);
  EXPECT_EQ(effect.delayLine(0)->writePosition(), writeBefore);
  EXPECT_FALSE(echoesRemain(effect));
}

TEST_F(DelayEffectTest, ResumeChangesNothing) {
  useShortPlainEchoes();
  fillLines(effect);
  effect.dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_TRUE(echoesRemain(effect));
}

TEST_F(DelayEffectTest, EmptyOrNegativeBlocksChangeNothing) {
  useShortPlainEchoes();
  Block block(4, 0.5f);
  block.outL.assign(4, 9.0f);
  float* ins[2] = {block.inL.data(), block.inR.data()};
  float* outs[2] = {block.outL.data(), block.outR.data()};
  const int32_t position = effect.delayLine(0)->readPosition();
  effect.processOverwriting(ins, outs, 0);
  effect.processAdding(ins, outs, -5);
  EXPECT_EQ(block.outL[0], 9.0f);
  EXPECT_EQ(effect.delayLine(0)->readPosition(), position);
}

TEST_F(DelayEffectTest, EnvelopeParametersReachBothEnvelopes) {
  effect.applyParameter(RevAttack, 0.0f);
  effect.applyParameter(RevRelease, 0.0f);
  for (int32_t channel : {0, 1}) EXPECT_EQ(effect.reverseEnvelope(channel)->gainAt(0), 1.0f);
  effect.applyParameter(RevAttack, 0.1f);
  for (int32_t channel : {0, 1}) EXPECT_EQ(effect.reverseEnvelope(channel)->gainAt(0), 0.0f);
}

TEST_F(DelayEffectTest, SetBlockSizeAndRateLeavesTheDelayOnItsOwnRate) {
  effect.dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 96000.0f);
  EXPECT_EQ(effect.delayLength(0), 20353);
  effect.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(effect.delayLength(0), 22153);
}

// Fails exactly the n-th allocation made by DelayEffect's construction.
int allocationsUntilFailure = -1;
bool failNthAllocation(AllocationSite site) {
  if (site != AllocationSite::processing && site != AllocationSite::programs) return false;
  return allocationsUntilFailure-- == 0;
}

TEST(DelayEffectAllocation, AnyFailedAllocationMakesTheEffectIncomplete) {
  int attempts = 0;
  {
    allocationsUntilFailure = 1000;
    setAllocationFailureHook(failNthAllocation);
    DelayEffect counted(nullptr);
    attempts = 1000 - allocationsUntilFailure;
    EXPECT_TRUE(counted.isComplete());
  }
  // Two lines, two filters and two envelopes, the lines' storage and the programs.
  ASSERT_GE(attempts, 9);
  for (int n = 0; n < attempts; ++n) {
    SCOPED_TRACE(n);
    allocationsUntilFailure = n;
    setAllocationFailureHook(failNthAllocation);
    DelayEffect broken(nullptr);
    setAllocationFailureHook(nullptr);
    EXPECT_FALSE(broken.isComplete());
    Block block(16, 0.5f);
    block.run(broken);
    // An incomplete effect leaves the outputs as they were.
    EXPECT_EQ(block.outL[0], 0.0f);
    broken.applyParameter(TempoL, 0.2f);
    broken.changeSampleRate(48000.0f);
    broken.onSuspend();
    broken.selectProgram(1);
  }
  setAllocationFailureHook(nullptr);
}

TEST(DelayEffectAllocation, EntryAnswersNullWhenAnyProcessingAllocationFails) {
  for (int n = 0; n < 9; ++n) {
    SCOPED_TRACE(n);
    allocationsUntilFailure = n;
    setAllocationFailureHook(failNthAllocation);
    EXPECT_EQ(createPluginInstance(hostkit::Host::callback()), nullptr);
    setAllocationFailureHook(nullptr);
  }
}

}  // namespace
}  // namespace wrenfold
