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

TEST(ProgressBar, DrawsThePercentageOfALongRenderAndErasesItAtTheEnd) {
  std::FILE* file = std::tmpfile();
  ProgressBar bar(file, true, 200);
  bar.update(50, ProgressBar::Clock::now() + std::chrono::seconds(3));
  EXPECT_TRUE(bar.shown());
  bar.finish();
  const std::string text = written(file);
  EXPECT_NE(text.find(" 25%"), std::string::npos) << text;
  EXPECT_EQ(text.back(), '\r');
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
