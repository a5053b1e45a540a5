// The loop filter against analytic responses, its coefficient formulas and its switching.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <limits>

#include "dsp/LoopFilter.h"
#include "params/ParameterMapping.h"

namespace wrenfold {
namespace {

constexpr double pi = 3.14159265358979323846;

// Returns the magnitude of a biquad's response at a frequency in hertz.
double magnitudeAt(const float c[5], double frequency, double rate) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * pi * frequency / rate);
  const std::complex<double> z2 = z1 * z1;
  const double b0 = c[0], b1 = c[1], b2 = c[2], a1 = c[3], a2 = c[4];
  return std::abs((b0 + b1 * z1 + b2 * z2) / (1.0 + a1 * z1 + a2 * z2));
}

double decibels(double gain) { return 20.0 * std::log10(gain); }

// Sets the filter to a low-pass at 'lowValue', Q from 'qValue', high-pass at 'highValue'.
void configure(LoopFilter& filter, float lowValue, float qValue, float highValue) {
  filter.setLowPass(cutoffFromValue(lowValue), qFromValue(qValue));
  filter.setHighPass(cutoffFromValue(highValue));
}

TEST(LoopFilter, LowPassHasUnityGainAtDcAndMinus3DbAtTheCutoffForQ0707) {
  LoopFilter filter;
  const float qValue = (0.707f - 0.5f) / 3.5f;
  configure(filter, 0.5f, qValue, 0.0f);
  float c[5];
  filter.lowPassCoefficients(c);
  EXPECT_NEAR(magnitudeAt(c, 0.0, 44100.0), 1.0, 1e-5);
  // The stage is tuned with 6.283 rad per cycle, so its corner sits at f * 6.283 / 2 pi.
  const double corner = filter.lowPassCutoff() * 6.283 / (2.0 * pi);
  EXPECT_NEAR(decibels(magnitudeAt(c, corner, 44100.0)), -3.01, 0.02);
  EXPECT_LT(decibels(magnitudeAt(c, 4.0 * corner, 44100.0)), -23.0);
}

TEST(LoopFilter, HighPassHasZeroGainAtDcAndMinus3DbAtTheCutoff) {
  LoopFilter filter;
  configure(filter, 1.0f, 0.0f, 0.3f);
  float c[5];
  filter.highPassCoefficients(c);
  EXPECT_EQ(c[0] + c[1] + c[2], 0.0f);
  const double corner = filter.highPassCutoff() * 6.283 / (2.0 * pi);
  EXPECT_NEAR(decibels(magnitudeAt(c, corner, 44100.0)), -3.01, 0.02);
  EXPECT_NEAR(magnitudeAt(c, 11025.0, 44100.0), 1.0, 1e-3);
}

TEST(LoopFilter, CoefficientsFollowTheCookbookFormulasWithTheirOwnConstants) {
  const struct {
    float rate, low, q, high;
  } cases[] = {{44100.0f, 0.9f, 0.0f, 0.1f},
               {44100.0f, 0.999f, 1.0f, 0.5f},
               {48000.0f, 0.6f, 0.45f, 0.23f},
               {96000.0f, 0.2f, 0.7f, 0.9f}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.low);
    LoopFilter filter;
    filter.setSampleRate(k.rate);
    configure(filter, k.low, k.q, k.high);

    const double wl = (1.0 / k.rate) * cutoffFromValue(k.low) * 6.283;
    const double cl = std::cos(wl), al = std::sin(wl) / (2.0 * qFromValue(k.q));
    const double low[5] = {0.5 * (1 - cl) / (1 + al), (1 - cl) / (1 + al),
                           0.5 * (1 - cl) / (1 + al), -2 * cl / (1 + al), (1 - al) / (1 + al)};
    const double wh = (1.0 / k.rate) * cutoffFromValue(k.high) * 6.283;
    const double ch = std::cos(wh), ah = std::sin(wh) * 0.7072135806;
    const double high[5] = {0.5 * (1 + ch) / (1 + ah), -(1 + ch) / (1 + ah),
                            0.5 * (1 + ch) / (1 + ah), -2 * ch / (1 + ah), (1 - ah) / (1 + ah)};
    float gotLow[5], gotHigh[5];
    filter.lowPassCoefficients(gotLow);
    filter.highPassCoefficients(gotHigh);
    for (int i = 0; i < 5; ++i) {
      EXPECT_NEAR(gotLow[i], low[i], 2e-6 * (1.0 + std::fabs(low[i]))) << "low " << i;
      EXPECT_NEAR(gotHigh[i], high[i], 2e-6 * (1.0 + std::fabs(high[i]))) << "high " << i;
    }
  }
}

TEST(LoopFilter, FilterSampleRunsTheDirectFormCascadeInOrder) {
  LoopFilter filter;
  configure(filter, 0.6f, 0.4f, 0.2f);
  float l[5], h[5];
  filter.lowPassCoefficients(l);
  filter.highPassCoefficients(h);
  float lx1 = 0, lx2 = 0, ly1 = 0, ly2 = 0, hx1 = 0, hx2 = 0, hy1 = 0, hy2 = 0;
  const float input[] = {1.0f, 0.5f, -0.25f, 0.0f, 0.75f, -1.0f, 0.0f, 0.0f, 0.3f, 0.0f};
  for (float x : input) {
    const float u = l[2] * lx2 + l[0] * x + l[1] * lx1 - l[3] * ly1 - l[4] * ly2;
    lx2 = lx1, lx1 = x, ly2 = ly1, ly1 = u;
    const float y = h[2] * hx2 + h[0] * u + h[1] * hx1 - h[3] * hy1 - h[4] * hy2;
    hx2 = hx1, hx1 = u, hy2 = hy1, hy1 = y;
    ASSERT_EQ(filter.filterSample(x), y);
  }
}

TEST(LoopFilter, StagesSwitchOffAtTheEndsOfTheirRangesWithClearedHistory) {
  LoopFilter filter;
  configure(filter, 0.999f, 0.0f, 0.0001f);
  EXPECT_TRUE(filter.lowPassOn());
  EXPECT_TRUE(filter.highPassOn());
  EXPECT_NEAR(filter.lowPassCutoff(), 19901.0f, 1.0f);
  EXPECT_NEAR(filter.highPassCutoff(), 20.1f, 0.01f);
  for (int i = 0; i < 10; ++i) filter.filterSample(0.5f);
  EXPECT_FALSE(filter.historyIsClear());

  filter.setLowPass(cutoffFromValue(1.0f), filter.lowPassQ());
  EXPECT_FALSE(filter.lowPassOn());
  EXPECT_FLOAT_EQ(filter.lowPassCutoff(), 20000.0f);
  filter.setHighPass(cutoffFromValue(0.0f));
  EXPECT_FALSE(filter.highPassOn());
  EXPECT_FLOAT_EQ(filter.highPassCutoff(), 20.0f);
  EXPECT_TRUE(filter.historyIsClear());

  // Stages that are off pass samples through; switched on again they start cleared.
  for (int i = 0; i < 10; ++i) EXPECT_EQ(filter.filterSample(0.25f + i), 0.25f + i);
  configure(filter, 0.5f, 0.0f, 0.5f);
  EXPECT_TRUE(filter.historyIsClear());
  LoopFilter fresh;
  configure(fresh, 0.5f, 0.0f, 0.5f);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(filter.filterSample(0.5f), fresh.filterSample(0.5f));
}

TEST(LoopFilter, QSpansHalfToFour) {
  LoopFilter filter;
  configure(filter, 0.5f, 0.0f, 0.5f);
  EXPECT_EQ(filter.lowPassQ(), 0.5f);
  configure(filter, 0.5f, 1.0f, 0.5f);
  EXPECT_EQ(filter.lowPassQ(), 4.0f);
}

TEST(LoopFilter, BothStagesOffPassTheInputUnchanged) {
  LoopFilter filter;
  configure(filter, 1.0f, 0.5f, 0.0f);
  const float inputs[] = {1.0f, -0.3f, 123.5f, 1e-30f, -7e-20f};
  for (float x : inputs) EXPECT_EQ(filter.filterSample(x), x);
}

TEST(LoopFilter, DenormalAndNonFiniteInputsActLikeSilence) {
  const float inputs[] = {
      std::numeric_limits<float>::denorm_min(), -1e-40f, std::numeric_limits<float>::infinity(),
      -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
  for (float odd : inputs) {
    SCOPED_TRACE(odd);
    LoopFilter reference;
    LoopFilter filter;
    reference.filterSample(0.7f);
    filter.filterSample(0.7f);
    for (int i = 0; i < 5; ++i) {
      const float expected = reference.filterSample(0.0f);
      const float got = filter.filterSample(odd);
      ASSERT_EQ(std::memcmp(&expected, &got, sizeof got), 0);
    }
  }
}

TEST(LoopFilter, OverflowRestartsTheStagesInsteadOfLeavingNanOrALimitCycle) {
  LoopFilter filter;
  configure(filter, 0.8f, 1.0f, 0.2f);
  for (int i = 0; i < 1000; ++i) {
    const float y = filter.filterSample(i % 3 == 0 ? 3e38f : -3e38f);
    ASSERT_TRUE(std::isfinite(y)) << i;
  }
  float y = 1.0f;
  for (int i = 0; i < 200000; ++i) y = filter.filterSample(0.0f);
  EXPECT_EQ(y, 0.0f);
  EXPECT_TRUE(filter.historyIsClear());
}

TEST(LoopFilter, SampleRateChangeRecomputesCoefficientsAndKeepsHistory) {
  LoopFilter filter;
  filter.filterSample(1.0f);
  float before[5], after[5];
  filter.lowPassCoefficients(before);
  filter.setSampleRate(96000.0f);
  filter.lowPassCoefficients(after);
  EXPECT_NE(before[0], after[0]);
  EXPECT_FALSE(filter.historyIsClear());
}

TEST(LoopFilter, TopCutoffAt44100GivesAnAngleJustUnderPi) {
  LoopFilter filter;
  // Just below 1.0, where the stage still runs: about 19999.4 Hz.
  configure(filter, 0.99999f, 0.0f, 0.1f);
  ASSERT_TRUE(filter.lowPassOn());
  float c[5];
  filter.lowPassCoefficients(c);
  // a1 = -2 cos w / (1 + alpha) and a2 = (1 - alpha) / (1 + alpha) give back cos w.
  const double alpha = (1.0 - c[4]) / (1.0 + c[4]);
  const double w = std::acos(-c[3] * (1.0 + alpha) / 2.0);
  EXPECT_NEAR(w, 2.8494, 1e-3);
}

TEST(LoopFilter, CutoffsAtOrAboveHalfTheRateAreHeldBelowIt) {
  LoopFilter filter;
  filter.setSampleRate(32000.0f);
  configure(filter, 0.999f, 0.0f, 0.0f);
  EXPECT_TRUE(filter.lowPassOn());
  float c[5];
  filter.lowPassCoefficients(c);
  const double w = 0.49 * 6.283;
  const double cw = std::cos(w), alpha = std::sin(w) / (2.0 * 0.5);
  EXPECT_NEAR(c[3], -2.0 * cw / (1.0 + alpha), 1e-5);
  // Stable: an impulse dies away instead of growing.
  float last = filter.filterSample(1.0f);
  for (int i = 0; i < 20000; ++i) last = filter.filterSample(0.0f);
  EXPECT_LT(std::fabs(last), 1e-6f);
}

}  // namespace
}  // namespace wrenfold
