#pragma once

#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostkit/EffectInstance.h"
#include "tools/render/AudioSource.h"
#include "tools/render/DelayTimes.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Renderer.h"
#include "tools/render/WaveformPlot.h"

namespace wrenfold {

// The whole command: loads the module, sets the effect up, lists or renders, reports.
class RenderCommand {
 public:
  // Prepares a run of the given options; moduleFolder locates the installed module
  // relative to the program's folder.
  RenderCommand(RenderOptions given, std::string moduleFolder);

  // Runs the command and returns the exit status; failures throw ToolError.
  int run();
  // Returns the flag that an interrupt handler sets to stop a render cleanly.
  static volatile std::sig_atomic_t& interruptFlag();

 private:
  // Returns the module path to load: --module, else the first one found.
  std::string modulePath() const;
  // Returns the input file, or the demo phrase without one; stores the file's format.
  std::unique_ptr<AudioSource> openSource(int& inputFormat) const;
  // Sends the sample rate and block size, then applies --program and every --set.
  void setUp(EffectInstance& effect, const std::vector<std::string>& programs,
             int sampleRate) const;
  // Renders the source and its tail into the output file, then warns, plots and reports as asked.
  void renderSource(EffectInstance& effect, const std::string& programName, AudioSource& source,
                    int inputFormat);
  // Renders into the output file and commits it, feeding the plot when there is one; an RF64
  // format marked plainWhenSmall is written as plain WAV when the file stays small enough.
  void renderInto(EffectInstance& effect, AudioSource& source, const std::string& outputPath,
                  int format, bool plainWhenSmall, const std::optional<DelayTimes>& delays,
                  WaveformPlot* plot);

  RenderOptions options;
  std::string installedRelativeFolder;
  RenderResult lastResult;
};

}  // namespace wrenfold
