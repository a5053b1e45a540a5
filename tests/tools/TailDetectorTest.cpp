#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tools/render/TailDetector.h"

namespace wrenfold {
namespace {

std::vector<float> stereo(std::initializer_list<float> mono) {
  std::vector<float> frames;
  for (float sample : mono) {
    frames.push_back(sample);
    frames.push_back(0.0f);
  }
  return frames;
}

TEST(TailDetector, FinishesAfterTheQuietWindowAndKeepsUpToTheLastAudibleFrame) {
  TailDetector detector(-90.0, 3, 100);
  const std::vector<float> block = stereo({0.5f, 0.0f, 0.2f, 0.0f, 0.0f});
  detector.observe(block.data(), 5);
  EXPECT_FALSE(detector.finished());
  const std::vector<float> quiet = stereo({0.0f});
  detector.observe(quiet.data(), 1);
  EXPECT_TRUE(detector.finished());
  EXPECT_EQ(detector.framesToKeep(), 3);
}

TEST(TailDetector, AnAlreadySilentTailKeepsNothing) {
  TailDetector detector(-90.0, 4, 100);
  const std::vector<float> quiet = stereo({0.0f, 0.0f, 0.0f, 0.0f});
  detector.observe(quiet.data(), 4);
  EXPECT_TRUE(detector.finished());
  EXPECT_EQ(detector.framesToKeep(), 0);
}

TEST(TailDetector, ThresholdSeparatesAudibleFromQuietAtMinus90Db) {
  const float threshold = static_cast<float>(std::pow(10.0, -90.0 / 20.0));
  TailDetector detector(-90.0, 2, 100);
  const std::vector<float> block = stereo({threshold * 1.01f, threshold * 0.99f});
  detector.observe(block.data(), 2);
  EXPECT_EQ(detector.framesToKeep(), 1);
}

TEST(TailDetector, EitherChannelKeepsTheTailAlive) {
  TailDetector detector(-90.0, 2, 100);
  const std::vector<float> block = {0.0f, 0.3f, 0.0f, 0.0f};
  detector.observe(block.data(), 2);
  EXPECT_EQ(detector.framesToKeep(), 1);
  EXPECT_FALSE(detector.finished());
}

TEST(TailDetector, NonFiniteSamplesCountAsAudible) {
  TailDetector detector(-90.0, 2, 100);
  const std::vector<float> block = stereo({std::numeric_limits<float>::quiet_NaN(), 0.0f});
  detector.observe(block.data(), 2);
  EXPECT_EQ(detector.framesToKeep(), 1);
}

TEST(TailDetector, StopsAtTheLimitEvenWhileAudible) {
  TailDetector detector(-90.0, 10, 4);
  const std::vector<float> loud = stereo({1.0f, 1.0f, 1.0f});
  detector.observe(loud.data(), 3);
  EXPECT_FALSE(detector.finished());
  EXPECT_EQ(detector.remaining(), 1);
  detector.observe(loud.data(), 1);
  EXPECT_TRUE(detector.finished());
  EXPECT_EQ(detector.framesToKeep(), 4);
}

}  // namespace
}  // namespace wrenfold
