#include "tools/render/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace wrenfold {

namespace {

constexpr std::chrono::seconds kQuietPeriod{2};

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream, bool enabled, int64_t total)
    : stream_(stream), enabled_(enabled), total_(std::max<int64_t>(total, 1)), start_(Clock::now()) {}

void ProgressBar::update(int64_t done, Clock::time_point now) {
  if (!enabled_ || now - start_ < kQuietPeriod) {
    return;
  }
  const int percent = static_cast<int>(std::clamp<int64_t>(done * 100 / total_, 0, 100));
  if (percent == lastPercent_) {
    return;
  }
  lastPercent_ = percent;
  const int filled = percent * kWidth / 100;
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(kWidth - filled), '-');
  std::fprintf(stream_, "\rrendering [%s] %3d%%", bar.c_str(), percent);
  std::fflush(stream_);
  shown_ = true;
}

void ProgressBar::finish() {
  if (shown_) {
    std::fprintf(stream_, "\r%*s\r", kWidth + 20, "");
    std::fflush(stream_);
  }
}

bool ProgressBar::isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

}  // namespace wrenfold
