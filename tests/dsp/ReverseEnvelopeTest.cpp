// The reverse envelope's tables, stepping and sizing.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "dsp/ReverseEnvelope.h"

namespace wrenfold {
namespace {

std::vector<float> tableOf(const ReverseEnvelope& envelope) {
  std::vector<float> table;
  for (int32_t i = 0; i < envelope.activeLength(); ++i) table.push_back(envelope.gainAt(i));
  return table;
}

TEST(ReverseEnvelope, StartsWithLength44100AtCapacity176400) {
  ReverseEnvelope envelope;
  EXPECT_EQ(envelope.activeLength(), 44100);
  EXPECT_EQ(envelope.tableCapacity(), 176400);
  // Ramps of 0.1 * 0.5^2 s = 1102 samples open and close both halves of 22050 entries, at the
  // start and again when a rebuild comes back to the starting length.
  const struct {
    int32_t index;
    float gain;
  } entries[] = {{0, 0.0f},     {1, 1.0f / 1102.0f}, {1102, 1.0f},  {22048, 1.0f / 1102.0f},
                 {22049, 0.0f}, {22050, 0.0f},       {23152, 1.0f}, {44099, 0.0f}};
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& entry : entries) {
      SCOPED_TRACE(entry.index);
      EXPECT_FLOAT_EQ(envelope.gainAt(entry.index), entry.gain);
    }
    envelope.setLength(10);
    envelope.setLength(44100);
  }
}

TEST(ReverseEnvelope, TenEntryTableWithRampsLongerThanEachHalf) {
  ReverseEnvelope envelope;
  envelope.setSampleRate(1000.0f);
  envelope.setLength(10);
  envelope.setRamps(0.5f, 0.5f);
  // A = R = 25 is longer than either half of 5, so each half is multiplied by the rising ramp
  // 0, 1/25 .. 4/25 from its start and by the same ramp from its end.
  const float up[5] = {0.0f, 1.0f / 25.0f, 2.0f / 25.0f, 3.0f / 25.0f, 4.0f / 25.0f};
  std::vector<float> expected(10);
  for (int32_t i = 0; i < 5; ++i) {
    expected[i] = 1.0f * up[i] * up[4 - i];
    expected[5 + i] = 1.0f * up[i] * up[4 - i];
  }
  const std::vector<float> table = tableOf(envelope);
  for (int32_t i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(table[i], expected[i]);
  }
  EXPECT_EQ(table[0], 0.0f);
  EXPECT_EQ(table[4], 0.0f);
  EXPECT_EQ(table[5], 0.0f);
  EXPECT_EQ(table[9], 0.0f);
}

TEST(ReverseEnvelope, ShortRampsRiseAndFallInsideEachHalf) {
  ReverseEnvelope envelope;
  envelope.setSampleRate(1000.0f);
  // 0.1 * 0.2^2 s at 1000 Hz = 4 samples of ramp.
  envelope.setRamps(0.2f, 0.2f);
  envelope.setLength(20);
  const std::vector<float> table = tableOf(envelope);
  const float expected[20] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f,
                              0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f};
  for (int32_t i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(table[i], expected[i]);
  }
}

TEST(ReverseEnvelope, AttackIsCappedByTheLargerHalfAndReleaseByTheSmaller) {
  ReverseEnvelope envelope;
  envelope.setSampleRate(1000.0f);
  envelope.setRamps(0.5f, 0.0f);  // an attack of 25 samples
  envelope.setLength(7);          // H = 3, S = 4
  const std::vector<float> table = tableOf(envelope);
  // Attack on [3, 7) with i = 0..3, then on [0, 4) with i = 0..3: entry 3 gets both.
  EXPECT_FLOAT_EQ(table[0], 0.0f);
  EXPECT_FLOAT_EQ(table[1], 1.0f / 25.0f);
  EXPECT_FLOAT_EQ(table[2], 2.0f / 25.0f);
  EXPECT_FLOAT_EQ(table[3], 0.0f);
  EXPECT_FLOAT_EQ(table[4], 1.0f / 25.0f);
  EXPECT_FLOAT_EQ(table[6], 3.0f / 25.0f);
}

TEST(ReverseEnvelope, ZeroRampsGiveUnityGain) {
  ReverseEnvelope envelope;
  envelope.setRamps(0.0f, 0.0f);
  envelope.setLength(1000);
  for (float gain : tableOf(envelope)) ASSERT_EQ(gain, 1.0f);
}

TEST(ReverseEnvelope, NextWrapsAtTheLengthAndRewindRestarts) {
  ReverseEnvelope envelope;
  envelope.setSampleRate(1000.0f);
  envelope.setRamps(0.2f, 0.0f);
  envelope.setLength(10);
  std::vector<float> first;
  for (int i = 0; i < 10; ++i) first.push_back(envelope.next());
  for (int i = 0; i < 10; ++i) EXPECT_EQ(envelope.next(), first[i]);
  envelope.next();
  envelope.next();
  envelope.rewind();
  EXPECT_EQ(envelope.readPosition(), 0);
  EXPECT_EQ(envelope.next(), first[0]);
}

TEST(ReverseEnvelope, LengthIsClampedToTheCapacityOfTheRateAndToOneEntry) {
  ReverseEnvelope envelope;
  envelope.setLength(1000000);
  EXPECT_EQ(envelope.activeLength(), 176400);
  envelope.setSampleRate(22050.0f);
  EXPECT_EQ(envelope.tableCapacity(), 88200);
  envelope.setLength(176400);
  EXPECT_EQ(envelope.activeLength(), 88200);
  envelope.setLength(0);
  EXPECT_EQ(envelope.activeLength(), 1);
  envelope.next();
  envelope.setLength(-3);
  EXPECT_EQ(envelope.activeLength(), 1);
}

TEST(ReverseEnvelope, HigherRateGrowsTheTable) {
  ReverseEnvelope envelope;
  envelope.setSampleRate(96000.0f);
  EXPECT_EQ(envelope.tableCapacity(), 384000);
  envelope.setLength(384000);
  EXPECT_EQ(envelope.activeLength(), 384000);
  EXPECT_EQ(envelope.gainAt(100000), 1.0f);
}

TEST(ReverseEnvelope, InvalidRatesAreIgnored) {
  ReverseEnvelope envelope;
  for (float rate : {0.0f, -1.0f, 2e6f, std::numeric_limits<float>::quiet_NaN()}) {
    SCOPED_TRACE(rate);
    envelope.setSampleRate(rate);
    EXPECT_EQ(envelope.tableCapacity(), 176400);
  }
}

}  // namespace
}  // namespace wrenfold
