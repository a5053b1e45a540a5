#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/render/ProgressBar.h"

namespace wrenfold {
namespace {

std::string written(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    text += static_cast<char>(c);
  }
  return text;
}

TEST(ProgressBar, StaysHiddenForTheFirstTwoSeconds) {
  std::FILE* file = std::tmpfile();
  ProgressBar bar(file, true, 100);
  bar.update(50, ProgressBar::Clock::now() + std::chrono::milliseconds(1900));
  EXPECT_FALSE(bar.shown());
  EXPECT_EQ(written(file), "");
  std::fclose(file);
}

TEST(ProgressBar, DrawsThePercentageAndTimeLeftOfALongRenderAndEndsAtAHundred) {
  std::FILE* file = std::tmpfile();
  ProgressBar bar(file, true, 200);
  const ProgressBar::Clock::time_point start = ProgressBar::Clock::now();
  bar.update(50, start + std::chrono::seconds(3));
  EXPECT_TRUE(bar.shown());
  // An automatic tail that ends early stops the work short of its total.
  bar.finish(start + std::chrono::seconds(65));
  const std::string text = written(file);
  EXPECT_NE(text.find(" 25% 0:09 left"), std::string::npos) << text;
  EXPECT_NE(text.find("] 100% in 1:05"), std::string::npos) << text;
  EXPECT_EQ(text.back(), '\n');
  std::fclose(file);
}

TEST(ProgressBar, DisabledBarNeverDraws) {
  std::FILE* file = std::tmpfile();
  ProgressBar bar(file, false, 100);
  bar.update(100, ProgressBar::Clock::now() + std::chrono::seconds(60));
  bar.finish();
  EXPECT_EQ(written(file), "");
  std::fclose(file);
}

}  // namespace
}  // namespace wrenfold
