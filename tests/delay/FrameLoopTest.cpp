// The two per-sample loops against each other, and the bound on what the delay lines store.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "delay/DelayEffect.h"
#include "support/StereoBlock.h"

namespace wrenfold {
namespace {

constexpr FrameLoop bothLoops[] = {FrameLoop::scalar, FrameLoop::twoLane};

const char* loopName(FrameLoop loop) { return loop == FrameLoop::scalar ? "scalar" : "two-lane"; }

using Stereo = testing::StereoBlock;

// Returns a sample of the test signal: noise or sparse impulses, now and then a hostile value.
float signalSample(std::mt19937& random, bool impulses, float level) {
  static const float hostile[] = {std::numeric_limits<float>::denorm_min(),
                                  -1e-40f,
                                  1e30f,
                                  std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN(),
                                  -3e38f};
  const uint32_t draw = random();
  if (draw % 20011 == 0) return hostile[(draw >> 16) % 6];
  if (impulses) return draw % 997 == 0 ? level : 0.0f;
  return level * (static_cast<float>(draw >> 8) / 8388608.0f - 1.0f);
}

TEST(FrameLoop, TwoLaneOutputIsBitIdenticalToTheScalarLoop) {
  const float rates[] = {44100.0f, 48000.0f, 96000.0f};
  // Random writes between blocks, or one clear when the lines are half-way through their first
  // pass, where reads turn from silence to what was written since at a position of its own.
  const struct {
    const char* name;
    bool impulses;
    bool clearHalfWay;
  } signals[] = {{"noise", false, false}, {"impulses", true, false}, {"cleared", false, true}};
  for (int32_t program = 0; program < programCountTotal; ++program)
    for (float rate : rates)
      for (const auto& signal : signals) {
        const bool impulses = signal.impulses;
        SCOPED_TRACE(std::to_string(program) + " at " + std::to_string(rate) + " " + signal.name);
        DelayEffect scalar(nullptr), lanes(nullptr);
        scalar.chooseFrameLoop(FrameLoop::scalar);
        lanes.chooseFrameLoop(FrameLoop::twoLane);
        std::mt19937 random(static_cast<uint32_t>(program * 7 + rate));
        for (DelayEffect* effect : {&scalar, &lanes}) {
          effect->changeSampleRate(rate);
          effect->selectProgram(program);
        }
        const int32_t halfWay = scalar.delayLength(0) / 2;
        int64_t rendered = 0;
        for (int32_t block = 0; rendered < 150000; ++block) {
          if (signal.clearHalfWay && rendered >= halfWay && rendered - halfWay < 700) {
            scalar.applyParameter(ClearBuffer, 1.0f);
            lanes.applyParameter(ClearBuffer, 1.0f);
          }
          // Between blocks a few parameters change, each to a value anywhere in its range.
          if (!signal.clearHalfWay && block % 4 == 3) {
            for (int32_t k = random() % 3; k >= 0; --k) {
              const int32_t index = static_cast<int32_t>(random() % parameterCountTotal);
              const float value = static_cast<float>(random() % 1001) / 1000.0f;
              scalar.applyParameter(index, value);
              lanes.applyParameter(index, value);
            }
          }
          const int32_t frames = block % 9 == 0 ? 1 + random() % 3 : 1 + random() % 700;
          const bool replacing = random() % 2 == 0;
          const float level = 0.5f + static_cast<float>(random() % 8);
          Stereo a(frames), b(frames);
          for (int32_t i = 0; i < frames; ++i) {
            a.inL[i] = b.inL[i] = signalSample(random, impulses, level);
            a.inR[i] = b.inR[i] = signalSample(random, impulses, level);
            a.outL[i] = b.outL[i] = 0.25f * static_cast<float>(i % 5);
            a.outR[i] = b.outR[i] = -0.5f;
          }
          a.run(scalar, replacing);
          b.run(lanes, replacing);
          ASSERT_EQ(std::memcmp(a.outL.data(), b.outL.data(), frames * sizeof(float)), 0)
              << "block " << block;
          ASSERT_EQ(std::memcmp(a.outR.data(), b.outR.data(), frames * sizeof(float)), 0)
              << "block " << block;
          rendered += frames;
        }
      }
}

// After the music stops every program's echoes (program 0 also reversed) fade to exact zero, and
// no output sample on the way is subnormal, which would slow down whatever the host does next.
TEST(FrameLoop, TailsFadeToExactZeroWithoutSubnormalSamples) {
  for (FrameLoop loop : bothLoops)
    for (int32_t row = 0; row <= programCountTotal; ++row) {
      SCOPED_TRACE(std::string(loopName(loop)) + " row " + std::to_string(row));
      DelayEffect effect(nullptr);
      effect.chooseFrameLoop(loop);
      effect.selectProgram(row % programCountTotal);
      if (row == programCountTotal) effect.applyParameter(NomorRev, 1.0f);
      std::mt19937 random(3);
      Stereo block(4410);
      // One second of noise, then silence until five seconds (longer than any delay) come out
      // silent, for at most 200 seconds.
      for (int32_t n = 0, silentBlocks = 0; silentBlocks < 50; ++n) {
        ASSERT_LT(n, 2010) << "no silence";
        for (int32_t i = 0; i < 4410; ++i)
          block.inL[i] = block.inR[i] = n < 10 ? signalSample(random, false, 0.5f) : 0.0f;
        block.run(effect, true);
        bool silent = true;
        for (const auto* out : {&block.outL, &block.outR})
          for (float sample : *out) {
            ASSERT_NE(std::fpclassify(sample), FP_SUBNORMAL) << "block " << n;
            silent = silent && sample == 0.0f;
          }
        silentBlocks = silent ? silentBlocks + 1 : 0;
      }
    }
}

// Makes each left input come out unfiltered and at full level on the left one delay later.
void makeEchoesPlain(DelayEffect& effect) {
  const struct {
    int32_t index;
    float value;
  } settings[] = {{LpfCutoff, 1.0f}, {HpfCutoff, 0.0f}, {FeedBackL, 0.0f}, {WetLevelL, 1.0f},
                  {DryLevelL, 0.5f}, {WetPanL, 0.0f},   {WetLevelR, 0.5f}};
  for (const auto& s : settings) effect.applyParameter(s.index, s.value);
}

TEST(FrameLoop, EchoesPassBitForBitWithinTheLoopBoundAndAreHeldAtItAbove) {
  // The quietest sample a line keeps is 2^-100 (about -600 dBFS); anything quieter is silence.
  const float quietest = std::ldexp(1.0f, -100);
  const float tooQuiet = std::nextafter(quietest, 0.0f);
  const struct {
    float in, echo;
  } cases[] = {{0.3f, 0.3f},         {7.9999995f, 7.9999995f}, {8.0f, 8.0f},
               {-8.0f, -8.0f},       {8.000001f, 8.0f},        {-100.0f, -8.0f},
               {1e30f, 8.0f},        {-3e38f, -8.0f},          {1e-30f, 1e-30f},
               {quietest, quietest}, {-quietest, -quietest},   {tooQuiet, 0.0f},
               {-tooQuiet, 0.0f}};
  for (FrameLoop loop : bothLoops)
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(loopName(loop)) + " " + std::to_string(c.in));
      DelayEffect effect(nullptr);
      effect.chooseFrameLoop(loop);
      effect.selectProgram(4);
      makeEchoesPlain(effect);
      const int32_t n = effect.delayLength(0);
      Stereo block(n + 1);
      block.inL[0] = c.in;
      block.run(effect, true);
      EXPECT_EQ(block.outL[n], c.echo);
    }
}

// The largest magnitude the wet signals can reach in an output: the loop bound times the
// magnitudes of both wet gains.
float wetCeiling(const DelayEffect& effect) {
  const float wetGains =
      std::fabs(effect.engineValue(WetLevelL)) + std::fabs(effect.engineValue(WetLevelR));
  return 8.0f * wetGains;
}

TEST(FrameLoop, RunawaySettingsSettleWithinTheLoopBound) {
  const struct {
    const char* name;
    int32_t program;
    int32_t index[2];
    float value[2];
    float first;
  } cases[] = {{"resonant low-pass", 0, {LpfQ, LpfQ}, {0.6f, 0.6f}, 0.5f},
               {"robot at 0.45", 4, {FeedBackL, FeedBackR}, {0.45f, 0.45f}, 0.5f},
               {"one 1e30 sample", 0, {LpfQ, LpfQ}, {0.0f, 0.0f}, 1e30f}};
  constexpr int32_t rate = 44100;
  for (FrameLoop loop : bothLoops)
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(loopName(loop)) + " " + c.name);
      DelayEffect effect(nullptr);
      effect.chooseFrameLoop(loop);
      effect.selectProgram(c.program);
      for (int32_t k = 0; k < 2; ++k) effect.applyParameter(c.index[k], c.value[k]);
      // One loud first frame, a second of noise, then a 30-second tail of silence.
      Stereo input(rate);
      std::mt19937 random(1);
      for (int32_t i = 0; i < rate; ++i) {
        input.inL[i] = signalSample(random, false, 0.5f);
        input.inR[i] = signalSample(random, false, 0.5f);
      }
      input.inL[0] = input.inR[0] = c.first;
      input.run(effect, true);
      float peak = 0.0f;
      Stereo tail(rate);
      for (int32_t second = 0; second < 30; ++second) {
        tail.run(effect, true);
        for (int32_t i = 0; i < rate; ++i) {
          ASSERT_TRUE(std::isfinite(tail.outL[i]) && std::isfinite(tail.outR[i])) << second;
          peak = std::max({peak, std::fabs(tail.outL[i]), std::fabs(tail.outR[i])});
        }
      }
      EXPECT_LE(peak, wetCeiling(effect));
    }
}

}  // namespace
}  // namespace wrenfold
