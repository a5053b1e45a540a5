#include "tools/render/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace wrenfold {

namespace {

constexpr std::chrono::seconds quietPeriod{2};

}  // namespace

ProgressBar::ProgressBar(std::FILE* output, bool show, int64_t frames)
    : stream(output), enabled(show), total(std::max<int64_t>(frames, 1)), start(Clock::now()) {}

void ProgressBar::update(int64_t done, Clock::time_point now) {
  if (!enabled || now - start < quietPeriod) {
    return;
  }
  const int64_t clamped = std::clamp<int64_t>(done, 0, total);
  const double elapsed = std::chrono::duration<double>(now - start).count();
  // The rate so far predicts the rest; an automatic tail that ends early only makes it finish
  // sooner than shown.
  const double left =
      clamped > 0 ? elapsed * static_cast<double>(total - clamped) / static_cast<double>(clamped)
                  : 0.0;
  draw("rendering", static_cast<int>(clamped * 100 / total), clockTime(left) + " left");
}

ProgressBar::~ProgressBar() {
  if (barShown && !finished) {
    std::fprintf(stream, "\r%*s\r", static_cast<int>(lastLine.size()), "");
    std::fflush(stream);
  }
}

void ProgressBar::finish(Clock::time_point now) {
  if (barShown && !finished) {
    finished = true;
    const double elapsed = std::chrono::duration<double>(now - start).count();
    draw("rendered ", 100, "in " + clockTime(elapsed) + "     ");
    std::fputc('\n', stream);
    std::fflush(stream);
  }
}

void ProgressBar::draw(const char* label, int percent, const std::string& time) {
  const int filled = percent * imageWidth / 100;
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(imageWidth - filled), '-');
  char line[160];
  std::snprintf(line, sizeof line, "\r%s [%s] %3d%% %s", label, bar.c_str(), percent, time.c_str());
  if (line == lastLine) {
    return;
  }
  lastLine = line;
  std::fputs(line, stream);
  std::fflush(stream);
  barShown = true;
}

std::string ProgressBar::clockTime(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

bool ProgressBar::isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

}  // namespace wrenfold
