// The delay as a host sees it: programs, parameters, texts and processing through the loaded
// module's exported entry and record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Version.h"
#include "support/ModuleFixture.h"

namespace wrenfold {
namespace {

using hostkit::effectText;
using testing::LoadedModule;

// Parameter indices as the host numbers them.
enum : int32_t {
  nomorRev = 0,
  lpfCutoff = 3,
  hpfCutoff = 5,
  feedBackL = 10,
  feedBackR = 11,
  wetLevelL = 12,
  wetLevelR = 13,
  dryLevelL = 14,
  dryLevelR = 15,
  wetPanL = 16,
  wetPanR = 17,
  bypass = 2,
};

class DelayModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.loaded()) << module.error();
    effect = module.createEffect();
    ASSERT_NE(effect, nullptr);
  }
  void set(int32_t index, float value) { effect->setParameter(effect, index, value); }
  // Runs one replacing block through the record.
  void process(std::vector<float>& inL, std::vector<float>& inR, std::vector<float>& outL,
               std::vector<float>& outR, bool replacing = true) {
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    const int32_t frames = static_cast<int32_t>(inL.size());
    if (replacing)
      effect->processReplacing(effect, ins, outs, frames);
    else
      effect->process(effect, ins, outs, frames);
  }
  LoadedModule module;
  AEffect* effect = nullptr;
};

// Returns the first frame after frame 0 at which a channel is non-zero, or -1.
int32_t firstEcho(const std::vector<float>& out) {
  for (size_t i = 1; i < out.size(); ++i)
    if (out[i] != 0.0f) return static_cast<int32_t>(i);
  return -1;
}

TEST_F(DelayModule, ImpulseComesBackAfterEachProgramsDelayTime) {
  const struct {
    int32_t program;
    int32_t left, right;
  } cases[] = {
      {0, 20353, 20353}, {1, 15265, 10176}, {2, 51882, 34588}, {3, 13781, 13781}, {4, 826, 826}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    effect->dispatcher(effect, effSetProgram, 0, c.program, nullptr, 0.0f);
    ASSERT_EQ(effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f), c.program);
    // Plain echoes: both filter stages off, no feedback, no dry signal, each echo on its side,
    // reading forwards (only the direction changes, not the delay times).
    set(nomorRev, 0.0f);
    set(lpfCutoff, 1.0f);
    set(hpfCutoff, 0.0f);
    for (int32_t index : {feedBackL, feedBackR}) set(index, 0.0f);
    for (int32_t index : {wetLevelL, wetLevelR}) set(index, 1.0f);
    for (int32_t index : {dryLevelL, dryLevelR}) set(index, 0.5f);
    set(wetPanL, 0.0f);
    set(wetPanR, 1.0f);
    const size_t frames = 52000;
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    inL[0] = inR[0] = 1.0f;
    process(inL, inR, outL, outR);
    EXPECT_EQ(firstEcho(outL), c.left);
    EXPECT_EQ(firstEcho(outR), c.right);
    EXPECT_EQ(outL[c.left], 1.0f);
    EXPECT_EQ(outR[c.right], 1.0f);
  }
}

TEST_F(DelayModule, ProgramNamesAndDisplayTextsReachTheHost) {
  const char* names[] = {"init", "space", "reverse FX", "like analog", "robot"};
  for (int32_t program = 0; program < 5; ++program) {
    effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0.0f);
    EXPECT_EQ(effectText(effect, effGetProgramName), names[program]);
  }
  effect->dispatcher(effect, effSetProgram, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(effectText(effect, effGetParamDisplay, wetLevelR), "-59%");
  EXPECT_EQ(effectText(effect, effGetParamDisplay, 8), "1/8+1/16");
  EXPECT_EQ(effectText(effect, effGetParamName, 1), "ClearBuffer");
  EXPECT_EQ(effectText(effect, effGetParamLabel, 6), "TempoL");
  EXPECT_EQ(effectText(effect, effGetEffectName), effectNameText);
  EXPECT_EQ(effectText(effect, effGetVendorString), "hollow reed tone");
  EXPECT_EQ(effectText(effect, effGetProductString), "hollow reed tone");
}

TEST_F(DelayModule, RenamingThroughTheDispatcherKeepsAtMost23Characters) {
  char name[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  effect->dispatcher(effect, effSetProgramName, 0, 0, name, 0.0f);
  EXPECT_EQ(effectText(effect, effGetProgramName), "abcdefghijklmnopqrstuvw");
  effect->dispatcher(effect, effSetProgram, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(effectText(effect, effGetProgramName), "space");
}

TEST_F(DelayModule, BypassThroughTheRecordIsBitIdenticalOrAdditive) {
  set(bypass, 1.0f);
  EXPECT_EQ(effect->getParameter(effect, bypass), 1.0f);
  std::vector<float> inL(300), inR(300), outL(300, 5.0f), outR(300, 5.0f);
  for (int i = 0; i < 300; ++i) {
    inL[i] = 0.001f * static_cast<float>(i * i % 977) - 0.4f;
    inR[i] = -inL[i] * 0.7f;
  }
  process(inL, inR, outL, outR, true);
  EXPECT_EQ(outL, inL);
  EXPECT_EQ(outR, inR);
  process(inL, inR, outL, outR, false);
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(outL[i], inL[i] + inL[i]);
    ASSERT_EQ(outR[i], inR[i] + inR[i]);
  }
}

TEST_F(DelayModule, UnusableSampleRateKeepsTheDelayTimes) {
  effect->dispatcher(effect, effSetProgram, 0, 4, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, -1.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 5e9f);
  set(lpfCutoff, 1.0f);
  set(hpfCutoff, 0.0f);
  set(dryLevelL, 0.5f);
  std::vector<float> inL(1000), inR(1000), outL(1000), outR(1000);
  inL[0] = 1.0f;
  process(inL, inR, outL, outR);
  EXPECT_EQ(firstEcho(outL), 826);
}

}  // namespace
}  // namespace wrenfold
