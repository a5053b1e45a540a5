#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/render/DelayTimes.h"

namespace wrenfold {

// A picture of a render: the output's level over time on a dBFS scale, one lane per channel,
// with the moments where sounds start in the input and one delay time after each marked (where a
// normal echo is heard; a reversed one starts earlier), so what a program does can be seen at a
// glance. It keeps one peak per few milliseconds, not the audio.
class WaveformPlot {
 public:
  // Prepares a plot of audio at the given sample rate.
  explicit WaveformPlot(int sampleRate);

  // Takes the next input frames and notes where sounds start in them.
  void observeInput(const float* interleaved, int channels, int64_t frames);
  // Takes the next interleaved stereo output frames.
  void observeOutput(const float* interleaved, int64_t frames);
  // Returns the input frames where sounds start.
  const std::vector<int64_t>& onsets() const { return onsetFrames; }
  // Draws the plot under the title, with the echoes of the given delay times (when known), and
  // writes it as a PNG file; throws ToolError when the file cannot be written.
  void save(const std::string& path, const std::string& title,
            const std::optional<DelayTimes>& delays) const;

 private:
  // Draws the level scale, the time scale and both lanes.
  void draw(cairo_t* cairo, const std::string& title,
            const std::optional<DelayTimes>& delays) const;
  // Draws one channel's levels in the lane whose top edge is at y.
  void drawLane(cairo_t* cairo, int channel, double y) const;
  // Draws the lines of the dBFS scale and its labels beside a lane.
  void drawLevelScale(cairo_t* cairo, double y, const char* name) const;
  // Draws the seconds along the bottom.
  void drawTimeScale(cairo_t* cairo) const;
  // Marks every onset across both lanes and one delay time after it in each lane.
  void drawMarks(cairo_t* cairo, const std::optional<DelayTimes>& delays) const;
  // Closes the current onset-detection window.
  void closeWindow();
  // Returns the x coordinate of a frame.
  double xOf(int64_t frame) const;
  // Returns the y offset within a lane of a level (linear, full scale 1).
  static double yOf(float level);

  int rate;
  int64_t bucketFrames;
  std::array<std::vector<float>, 2> channelPeaks;
  int64_t outputFrames = 0;

  int64_t windowFrames;
  int64_t inputFrames = 0;
  float windowPeak = 0.0f;
  int64_t windowFirstLoud = -1;
  float follower = 0.0f;
  int64_t lastOnset = -1;
  std::vector<int64_t> onsetFrames;
};

}  // namespace wrenfold
