#include "tools/render/WaveformPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tools/common/PngFile.h"

namespace wrenfold {

namespace {

constexpr int imageWidth = 1200;
constexpr int imageHeight = 600;
constexpr double marginLeft = 70.0;
constexpr double marginRight = 20.0;
constexpr double marginTop = 40.0;
constexpr double marginBottom = 40.0;
constexpr double laneGap = 20.0;
constexpr double laneHeight = (imageHeight - marginTop - marginBottom - laneGap) / 2.0;
constexpr double plotWidth = imageWidth - marginLeft - marginRight;

constexpr double floorDb = -60.0;
constexpr double scaleStepDb = 12.0;
// One stored peak per 2 ms, a finer grid than any plot column of a render worth plotting.
constexpr int bucketsPerSecond = 500;
// Onsets: 10 ms windows; a window whose peak is above -40 dBFS and 6 dB above the decaying peak
// of the windows before starts a sound, unless one started less than 100 ms before.
constexpr int windowsPerSecond = 100;
constexpr float onsetFloor = 0.01f;
constexpr float onsetRise = 2.0f;
constexpr float followerDecay = 0.7f;
constexpr int onsetGapPerSecond = 10;

struct Colour {
  double red, green, blue;
};
constexpr Colour background{0.98, 0.98, 0.97};
constexpr Colour gridColour{0.82, 0.82, 0.80};
constexpr Colour textColour{0.20, 0.20, 0.20};
constexpr Colour laneColours[2] = {{0.16, 0.38, 0.68}, {0.18, 0.55, 0.34}};
constexpr Colour onsetColour{0.45, 0.45, 0.45};
constexpr Colour echoColour{0.85, 0.33, 0.10};

void setColour(cairo_t* cairo, const Colour& colour) {
  cairo_set_source_rgb(cairo, colour.red, colour.green, colour.blue);
}

void showText(cairo_t* cairo, double x, double y, const std::string& text) {
  cairo_move_to(cairo, x, y);
  cairo_show_text(cairo, text.c_str());
}

// Returns a step between time labels that gives at most about ten of them.
double timeStep(double seconds) {
  for (double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 30.0, 60.0, 120.0, 300.0}) {
    if (seconds / step <= 10.0) {
      return step;
    }
  }
  return 600.0;
}

}  // namespace

WaveformPlot::WaveformPlot(int sampleRate)
    : rate(sampleRate),
      bucketFrames(std::max(sampleRate / bucketsPerSecond, 1)),
      windowFrames(std::max(sampleRate / windowsPerSecond, 1)) {}

void WaveformPlot::observeInput(const float* interleaved, int channels, int64_t frames) {
  for (int64_t i = 0; i < frames; ++i) {
    float level = 0.0f;
    for (int channel = 0; channel < channels; ++channel) {
      const float sample = std::fabs(interleaved[i * channels + channel]);
      level = std::isfinite(sample) ? std::max(level, sample) : level;
    }
    if (level >= onsetFloor && windowFirstLoud < 0) {
      windowFirstLoud = inputFrames;
    }
    windowPeak = std::max(windowPeak, level);
    if (++inputFrames % windowFrames == 0) {
      closeWindow();
    }
  }
}

void WaveformPlot::closeWindow() {
  const int64_t gap = rate / onsetGapPerSecond;
  const bool rises = windowPeak >= onsetFloor && windowPeak > onsetRise * follower;
  if (rises && (lastOnset < 0 || windowFirstLoud - lastOnset >= gap)) {
    onsetFrames.push_back(windowFirstLoud);
    lastOnset = windowFirstLoud;
  }
  follower = std::max(windowPeak, follower * followerDecay);
  windowPeak = 0.0f;
  windowFirstLoud = -1;
}

void WaveformPlot::observeOutput(const float* interleaved, int64_t frames) {
  for (int64_t i = 0; i < frames; ++i, ++outputFrames) {
    const std::size_t bucket = static_cast<std::size_t>(outputFrames / bucketFrames);
    for (int channel = 0; channel < 2; ++channel) {
      std::vector<float>& peaks = channelPeaks[static_cast<std::size_t>(channel)];
      if (peaks.size() <= bucket) {
        peaks.resize(bucket + 1, 0.0f);
      }
      peaks[bucket] = std::max(peaks[bucket], std::fabs(interleaved[2 * i + channel]));
    }
  }
}

double WaveformPlot::xOf(int64_t frame) const {
  const double frames = static_cast<double>(std::max<int64_t>(outputFrames, 1));
  return marginLeft + plotWidth * static_cast<double>(frame) / frames;
}

double WaveformPlot::yOf(float level) {
  const double db = level > 0.0f ? 20.0 * std::log10(static_cast<double>(level)) : floorDb;
  return laneHeight * std::clamp(db / floorDb, 0.0, 1.0);
}

void WaveformPlot::save(const std::string& path, const std::string& title,
                        const std::optional<DelayTimes>& delays) const {
  const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, imageWidth, imageHeight),
      cairo_surface_destroy);
  cairo_t* cairo = cairo_create(surface.get());
  draw(cairo, title, delays);
  cairo_destroy(cairo);
  cairo_surface_flush(surface.get());
  writePngFile(path, surface.get());
}

void WaveformPlot::draw(cairo_t* cairo, const std::string& title,
                        const std::optional<DelayTimes>& delays) const {
  setColour(cairo, background);
  cairo_paint(cairo);
  cairo_select_font_face(cairo, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, 14.0);
  setColour(cairo, textColour);
  showText(cairo, marginLeft, 24.0, title);
  cairo_set_font_size(cairo, 11.0);
  for (int channel = 0; channel < 2; ++channel) {
    const double y = marginTop + channel * (laneHeight + laneGap);
    drawLevelScale(cairo, y, channel == 0 ? "L" : "R");
    drawLane(cairo, channel, y);
  }
  drawTimeScale(cairo);
  drawMarks(cairo, delays);
}

void WaveformPlot::drawLevelScale(cairo_t* cairo, double y, const char* name) const {
  cairo_set_line_width(cairo, 1.0);
  for (double db = 0.0; db >= floorDb; db -= scaleStepDb) {
    const double lineY = std::floor(y + laneHeight * db / floorDb) + 0.5;
    setColour(cairo, gridColour);
    cairo_move_to(cairo, marginLeft, lineY);
    cairo_line_to(cairo, imageWidth - marginRight, lineY);
    cairo_stroke(cairo);
    char label[16];
    std::snprintf(label, sizeof label, "%.0f dB", db);
    setColour(cairo, textColour);
    showText(cairo, 22.0, lineY + 4.0, label);
  }
  showText(cairo, 6.0, y + laneHeight / 2.0, name);
}

void WaveformPlot::drawLane(cairo_t* cairo, int channel, double y) const {
  const std::vector<float>& peaks = channelPeaks[static_cast<std::size_t>(channel)];
  setColour(cairo, laneColours[channel]);
  cairo_set_line_width(cairo, 1.0);
  for (int column = 0; column < static_cast<int>(plotWidth); ++column) {
    const int64_t first = outputFrames * column / static_cast<int64_t>(plotWidth) / bucketFrames;
    const int64_t last =
        outputFrames * (column + 1) / static_cast<int64_t>(plotWidth) / bucketFrames;
    float peak = 0.0f;
    for (int64_t bucket = first; bucket <= last && bucket < static_cast<int64_t>(peaks.size());
         ++bucket) {
      peak = std::max(peak, peaks[static_cast<std::size_t>(bucket)]);
    }
    if (peak <= 0.0f || yOf(peak) >= laneHeight) {
      continue;
    }
    const double x = marginLeft + column + 0.5;
    cairo_move_to(cairo, x, y + laneHeight);
    cairo_line_to(cairo, x, y + yOf(peak));
    cairo_stroke(cairo);
  }
}

void WaveformPlot::drawTimeScale(cairo_t* cairo) const {
  const double seconds = static_cast<double>(outputFrames) / rate;
  const double step = timeStep(seconds);
  const double y = imageHeight - marginBottom + 16.0;
  setColour(cairo, textColour);
  for (int tick = 0; tick * step <= seconds; ++tick) {
    const double x = xOf(static_cast<int64_t>(tick * step * rate));
    char label[32];
    std::snprintf(label, sizeof label, step < 1.0 ? "%.1f s" : "%.0f s", tick * step);
    showText(cairo, x - 8.0, y, label);
  }
}

void WaveformPlot::drawMarks(cairo_t* cairo, const std::optional<DelayTimes>& delays) const {
  const double dashes[] = {4.0, 3.0};
  for (int64_t onset : onsetFrames) {
    const double x = std::floor(xOf(onset)) + 0.5;
    setColour(cairo, onsetColour);
    cairo_set_dash(cairo, dashes, 2, 0.0);
    cairo_move_to(cairo, x, marginTop);
    cairo_line_to(cairo, x, marginTop + 2.0 * laneHeight + laneGap);
    cairo_stroke(cairo);
    cairo_set_dash(cairo, nullptr, 0, 0.0);
    if (!delays) {
      continue;
    }
    setColour(cairo, echoColour);
    cairo_set_line_width(cairo, 2.0);
    const long echoes[2] = {delays->left, delays->right};
    for (int channel = 0; channel < 2; ++channel) {
      if (onset + echoes[channel] >= outputFrames) {
        continue;
      }
      const double echoX = std::floor(xOf(onset + echoes[channel])) + 0.5;
      const double laneTop = marginTop + channel * (laneHeight + laneGap);
      cairo_move_to(cairo, echoX, laneTop);
      cairo_line_to(cairo, echoX, laneTop + 12.0);
      cairo_stroke(cairo);
    }
    cairo_set_line_width(cairo, 1.0);
  }
  setColour(cairo, onsetColour);
  showText(cairo, imageWidth - marginRight - 260.0, 24.0, "- - input onset");
  setColour(cairo, echoColour);
  showText(cairo, imageWidth - marginRight - 150.0, 24.0, "| delay time (L, R)");
}

}  // namespace wrenfold
