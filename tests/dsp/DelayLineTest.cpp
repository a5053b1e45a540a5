// The delay line's lengths, forward and backward reading, clearing and growth.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>

#include "base/Allocation.h"
#include "dsp/DelayLine.h"

namespace wrenfold {
namespace {

TEST(DelayLine, LengthIsClampedBetweenTwoAndTheCapacity) {
  DelayLine line;
  ASSERT_TRUE(line.hasStorage());
  EXPECT_EQ(line.storageCapacity(), 176400);
  const struct {
    int32_t requested;
    int32_t expected;
  } cases[] = {{1, 2}, {0, 2}, {-5, 2}, {2, 2}, {826, 826}, {176400, 176400}, {1000000, 176400}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requested);
    line.setLength(c.requested);
    EXPECT_EQ(line.activeLength(), c.expected);
  }
}

TEST(DelayLine, ForwardReadReturnsTheSampleWrittenLengthStepsBefore) {
  for (int32_t n : {2, 3, 8, 100}) {
    SCOPED_TRACE(n);
    DelayLine line;
    line.setLength(n);
    for (int32_t t = 0; t < 5 * n; ++t) {
      const float expected = t < n ? 0.0f : static_cast<float>(t - n + 1);
      ASSERT_EQ(line.read(), expected) << "step " << t;
      line.write(static_cast<float>(t + 1));
    }
  }
}

TEST(DelayLine, BackwardReadPlaysHalfLengthFragmentsReversed) {
  DelayLine line;
  line.setLength(8);
  line.setReverse(1);
  const float expected[] = {0, 0, 0, 0, 0, 4, 3, 2, 1, 8, 7, 6, 5, 12, 11, 10, 9};
  for (int32_t t = 0; t < 17; ++t) {
    EXPECT_EQ(line.read(), expected[t]) << "step " << t;
    line.write(static_cast<float>(t + 1));
  }
}

TEST(DelayLine, SetReverseKeepsContentsAndRewindsPositions) {
  DelayLine line;
  line.setLength(4);
  for (int i = 0; i < 3; ++i) {
    line.read();
    line.write(static_cast<float>(i + 1));
  }
  line.setReverse(7);
  EXPECT_TRUE(line.readsBackwards());
  EXPECT_EQ(line.readPosition(), 0);
  EXPECT_EQ(line.writePosition(), 0);
  EXPECT_EQ(line.read(), 1.0f);
  EXPECT_EQ(line.read(), 0.0f);
  EXPECT_EQ(line.read(), 3.0f);
  line.setReverse(0);
  EXPECT_FALSE(line.readsBackwards());
}

TEST(DelayLine, ClearSilencesButKeepsPositions) {
  DelayLine line;
  line.setLength(5);
  for (int i = 0; i < 7; ++i) {
    line.read();
    line.write(1.0f);
  }
  const int32_t readBefore = line.readPosition();
  const int32_t writeBefore = line.writePosition();
  line.clear();
  EXPECT_EQ(line.readPosition(), readBefore);
  EXPECT_EQ(line.writePosition(), writeBefore);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(line.read(), 0.0f);
}

TEST(DelayLine, SetLengthSilencesTheNewStretch) {
  DelayLine line;
  line.setLength(10);
  for (int i = 0; i < 10; ++i) {
    line.read();
    line.write(1.0f);
  }
  line.setLength(6);
  line.setLength(10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(line.read(), 0.0f);
}

TEST(DelayLine, HigherSampleRateGrowsStorageAndLowerRateKeepsIt) {
  DelayLine line;
  line.setSampleRate(48000.0f);
  EXPECT_EQ(line.storageCapacity(), 192000);
  line.setLength(192000);
  EXPECT_EQ(line.activeLength(), 192000);
  line.setSampleRate(22050.0f);
  EXPECT_EQ(line.storageCapacity(), 192000);
  line.setSampleRate(44100.0f);
  EXPECT_EQ(line.storageCapacity(), 192000);
}

TEST(DelayLine, OldContentsAreGoneAfterGrowthAndSetLength) {
  DelayLine line;
  line.setLength(4);
  for (int i = 0; i < 4; ++i) {
    line.read();
    line.write(1.0f);
  }
  line.setSampleRate(96000.0f);
  line.setLength(4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(line.read(), 0.0f);
}

TEST(DelayLine, AbsurdSampleRatesLeaveTheStorageAlone) {
  DelayLine line;
  const float rates[] = {2e6f, 1e30f, std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), -48000.0f};
  for (float rate : rates) {
    SCOPED_TRACE(rate);
    line.setSampleRate(rate);
    EXPECT_EQ(line.storageCapacity(), 176400);
  }
}

// Storage is left unwritten until a length takes it in; here fresh storage holds NaN (all bits
// set), and the line holds 2.0 before the change: after it, every read must be silence or the 1.0
// written since.
TEST(DelayLine, EveryReadAfterALengthChangeIsSilenceOrWrittenSince) {
  const struct Case {
    const char* name;
    int32_t before;
    float rate;     // 0: no rate change
    int32_t after;  // 0: no setLength after the change, -1: clear instead
    int32_t reverse;
  } cases[] = {{"shorter", 1000, 0.0f, 10, 0},
               {"longer", 10, 0.0f, 5000, 0},
               {"longer backwards", 10, 0.0f, 5001, 1},
               {"full capacity", 2, 0.0f, 176400, 1},
               {"cleared", 300, 0.0f, -1, 1},
               {"grown, length kept", 700, 96000.0f, 0, 0},
               {"grown, then longer", 700, 96000.0f, 384000, 1}};
  setUninitialisedFill(0xff);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DelayLine line;
    line.setLength(c.before);
    line.setReverse(c.reverse);
    for (int32_t i = 0; i < c.before; ++i) line.write(2.0f);
    if (c.rate > 0.0f) line.setSampleRate(c.rate);
    if (c.after > 0) line.setLength(c.after);
    if (c.after < 0) line.clear();
    int64_t strayReads = 0;
    for (int32_t t = 0; t < 2 * line.activeLength(); ++t) {
      const float sample = line.read();
      strayReads += sample != 0.0f && sample != 1.0f;
      line.write(1.0f);
    }
    EXPECT_EQ(strayReads, 0);
  }
  setUninitialisedFill(-1);
}

// Lengths changed by another thread while reads and writes run must never move an access outside
// the storage; the sanitizer build turns any such access into a failure.
TEST(DelayLine, LengthChangesRacingProcessingStayInsideTheStorage) {
  DelayLine line;
  line.setLength(176400);
  line.setReverse(1);
  std::atomic<bool> done{false};
  std::thread changer([&] {
    for (int i = 0; i < 300; ++i) {
      line.setLength(i % 2 == 0 ? 2 : 176400 - i);
      line.setReverse(i % 3);
    }
    done = true;
  });
  // The line only ever holds the 1.0 written here or the 0.0 a length change leaves; anything else
  // was read from outside the silenced stretch.
  int64_t strayReads = 0;
  while (!done) {
    for (int i = 0; i < 64; ++i) {
      const float sample = line.read();
      strayReads += sample != 0.0f && sample != 1.0f;
      line.write(1.0f);
    }
  }
  changer.join();
  EXPECT_EQ(strayReads, 0);
}

}  // namespace
}  // namespace wrenfold
