#include "tools/render/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace wrenfold {

namespace {

constexpr std::chrono::seconds kQuietPeriod{2};

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream, bool enabled, int64_t total)
    : stream_(stream),
      enabled_(enabled),
      total_(std::max<int64_t>(total, 1)),
      start_(Clock::now()) {}

void ProgressBar::update(int64_t done, Clock::time_point now) {
  if (!enabled_ || now - start_ < kQuietPeriod) {
    return;
  }
  const int64_t clamped = std::clamp<int64_t>(done, 0, total_);
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  // The rate so far predicts the rest; an automatic tail that ends early only makes it finish
  // sooner than shown.
  const double left =
      clamped > 0 ? elapsed * static_cast<double>(total_ - clamped) / static_cast<double>(clamped)
                  : 0.0;
  draw("rendering", static_cast<int>(clamped * 100 / total_), clockTime(left) + " left");
}

ProgressBar::~ProgressBar() {
  if (shown_ && !finished_) {
    std::fprintf(stream_, "\r%*s\r", static_cast<int>(lastLine_.size()), "");
    std::fflush(stream_);
  }
}

void ProgressBar::finish(Clock::time_point now) {
  if (shown_ && !finished_) {
    finished_ = true;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    draw("rendered ", 100, "in " + clockTime(elapsed) + "     ");
    std::fputc('\n', stream_);
    std::fflush(stream_);
  }
}

void ProgressBar::draw(const char* label, int percent, const std::string& time) {
  const int filled = percent * kWidth / 100;
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(kWidth - filled), '-');
  char line[160];
  std::snprintf(line, sizeof line, "\r%s [%s] %3d%% %s", label, bar.c_str(), percent, time.c_str());
  if (line == lastLine_) {
    return;
  }
  lastLine_ = line;
  std::fputs(line, stream_);
  std::fflush(stream_);
  shown_ = true;
}

std::string ProgressBar::clockTime(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

bool ProgressBar::isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

}  // namespace wrenfold
