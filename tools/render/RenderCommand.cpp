#include "tools/render/RenderCommand.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "tools/common/EffectSetup.h"
#include "tools/common/ModuleLocator.h"
#include "tools/common/OutputFile.h"
#include "tools/common/OutputPath.h"
#include "tools/common/PngFile.h"
#include "tools/common/ToolError.h"
#include "tools/render/DelayTimes.h"
#include "tools/render/DemoPhrase.h"
#include "tools/render/InputTap.h"
#include "tools/render/OutputFormat.h"
#include "tools/render/ProgressBar.h"
#include "tools/render/Renderer.h"
#include "tools/render/SoundFileReader.h"
#include "tools/render/SoundFileWriter.h"
#include "tools/render/WaveformPlot.h"

namespace wrenfold {

namespace {

constexpr float listingSampleRate = 44100.0f;
constexpr double maxAutomaticTailSeconds = 30.0;
// Without readable delay times the longest delay the effect allows stands in for them.
constexpr double fallbackQuietSeconds = 4.0;
// Output above full scale for longer than this is a runaway rather than a loud moment.
constexpr double runawaySeconds = 1.0;

TailPlan planTail(const RenderOptions& options, const std::optional<DelayTimes>& delays,
                  int sampleRate) {
  TailPlan plan;
  if (options.tailSeconds >= 0.0) {
    plan.automatic = false;
    plan.fixedFrames = static_cast<int64_t>(std::llround(options.tailSeconds * sampleRate));
    return plan;
  }
  plan.quietFrames = delays ? std::max(delays->left, delays->right)
                            : static_cast<int64_t>(fallbackQuietSeconds * sampleRate);
  plan.maxFrames = static_cast<int64_t>(maxAutomaticTailSeconds * sampleRate);
  return plan;
}

// The longest output a render may write: the input and the longest tail it allows.
int64_t longestOutputFrames(const RenderOptions& options, const AudioSource& source) {
  const double tail = options.tailSeconds >= 0.0 ? options.tailSeconds : maxAutomaticTailSeconds;
  return source.frames() + static_cast<int64_t>(std::llround(tail * source.sampleRate()));
}

std::string decibels(double level) {
  if (level <= 0.0) {
    return "-inf";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", 20.0 * std::log10(level));
  return text;
}

std::string milliseconds(std::optional<DelayTimes> delays, bool left, int sampleRate) {
  if (!delays) {
    return "-";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f",
                1000.0 * static_cast<double>(left ? delays->left : delays->right) / sampleRate);
  return text;
}

void warnAboutNonFinite(const RenderResult& result) {
  if (result.nonFiniteInput > 0) {
    std::fprintf(stderr,
                 "wrenfold-render: warning: %lld non-finite input samples rendered as silence\n",
                 static_cast<long long>(result.nonFiniteInput));
  }
  if (result.nonFiniteOutput > 0) {
    std::fprintf(stderr,
                 "wrenfold-render: warning: %lld non-finite output samples written as silence\n",
                 static_cast<long long>(result.nonFiniteOutput));
  }
}

bool storesOvers(int format) {
  const int subtype = format & SF_FORMAT_SUBMASK;
  return subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
}

// A runaway is worth a warning whatever the format: float files keep the overs, and a host's mix
// bus would pass them on to the speakers.
void warnAboutLevels(const RenderResult& result, int format) {
  const double peakDb = 20.0 * std::log10(static_cast<double>(result.peak));
  if (result.overSeconds > runawaySeconds) {
    std::fprintf(stderr,
                 "wrenfold-render: warning: the output stays above 0 dBFS for %.1f s and peaks at "
                 "%+.1f dBFS%s: a runaway; lower the feedback or the levels\n",
                 result.overSeconds, peakDb, storesOvers(format) ? "" : " (clipped in the file)");
  } else if (result.peak > 1.0f && !storesOvers(format)) {
    std::fprintf(
        stderr,
        "wrenfold-render: warning: the output peaks at %+.1f dBFS and was clipped; lower the "
        "wet or dry levels\n",
        peakDb);
  }
}

void warnAboutInput(const RenderResult& result, const AudioSource& source) {
  const std::string shortfall = source.shortfall();
  if (!shortfall.empty()) {
    std::fprintf(stderr, "wrenfold-render: warning: %s\n", shortfall.c_str());
  }
  if (result.tailCutAtLimit) {
    std::fprintf(stderr,
                 "wrenfold-render: warning: the echoes still sound after the %.0f s limit of the "
                 "automatic tail and were cut there; give --tail SECONDS for a longer one\n",
                 maxAutomaticTailSeconds);
  }
}

std::string share(double seconds, double wallSeconds) {
  char text[48];
  std::snprintf(text, sizeof text, "%.3f s (%.0f%%)", seconds,
                wallSeconds > 0.0 ? 100.0 * seconds / wallSeconds : 0.0);
  return text;
}

// The measured parts and the rest add up to the whole run, so no time goes unaccounted for.
void reportTiming(const RenderResult& result, int sampleRate, double wallSeconds) {
  const double audioSeconds = static_cast<double>(result.frames) / sampleRate;
  const double rest =
      std::max(0.0, wallSeconds - result.readSeconds - result.processSeconds - result.writeSeconds);
  std::fprintf(stderr,
               "rendered %.2f s of audio in %.3f s (real-time factor %.0fx): reading %s, "
               "processing %s, writing %s, the rest (loading, set-up, analysis, plot) %s\n",
               audioSeconds, wallSeconds, wallSeconds > 0.0 ? audioSeconds / wallSeconds : 0.0,
               share(result.readSeconds, wallSeconds).c_str(),
               share(result.processSeconds, wallSeconds).c_str(),
               share(result.writeSeconds, wallSeconds).c_str(), share(rest, wallSeconds).c_str());
}

// The plot is a file of its own: never the input, never the audio output, and writable before
// a long render starts.
void refusePlotPath(const std::string& plotPath, const std::string& inputPath,
                    const std::string& outputPath) {
  refuseNonPngName(plotPath);
  refuseOverwritingInput(inputPath, plotPath);
  refuseOverwritingInput(outputPath, plotPath);
  OutputFile::check(plotPath);
}

// One file name alone names the demo phrase's output; a file already there is more likely a
// song its owner meant to process, so it is kept unless --demo says otherwise.
void refuseReplacingWithTheDemo(const std::string& outputPath) {
  struct stat existing {};
  if (lstat(outputPath.c_str(), &existing) == 0) {
    throw ToolError("'" + outputPath + "' exists and is kept; to process it: wrenfold-render '" +
                    outputPath + "' OUT.wav; to render the demo phrase over it: --demo");
  }
}

std::string plotTitle(const std::string& programName, const std::optional<DelayTimes>& delays,
                      int sampleRate) {
  return "program \"" + programName + "\": delay time " + milliseconds(delays, true, sampleRate) +
         " ms (left), " + milliseconds(delays, false, sampleRate) +
         " ms (right); output level in dBFS";
}

}  // namespace

RenderCommand::RenderCommand(RenderOptions given, std::string moduleFolder)
    : options(std::move(given)), installedRelativeFolder(std::move(moduleFolder)) {}

volatile std::sig_atomic_t& RenderCommand::interruptFlag() {
  static volatile std::sig_atomic_t flag = 0;
  return flag;
}

std::string RenderCommand::modulePath() const {
  if (!options.modulePath.empty()) {
    return options.modulePath;
  }
  return findModule(installedRelativeFolder);
}

int RenderCommand::run() {
  const auto wallStart = std::chrono::steady_clock::now();
  const std::string path = modulePath();
  hostkit::ModuleLibrary module(path);
  std::unique_ptr<EffectInstance> effect = EffectInstance::fromModule(module);
  const std::vector<std::string> programs = effect->programNames();

  int inputFormat = 0;
  std::unique_ptr<AudioSource> source = options.list ? nullptr : openSource(inputFormat);
  const int sampleRate = source ? source->sampleRate() : static_cast<int>(listingSampleRate);
  setUp(*effect, programs, sampleRate);
  if (options.list) {
    std::printf("module: %s\n%s", absoluteModulePath(path).c_str(),
                formatListing(*effect, programs).c_str());
    return 0;
  }
  const int current = effect->currentProgram();
  const std::string programName =
      current >= 0 && current < static_cast<int>(programs.size()) ? programs[current] : "";
  renderSource(*effect, programName, *source, inputFormat);
  if (options.timing) {
    reportTiming(
        lastResult, sampleRate,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count());
  }
  return 0;
}

std::unique_ptr<AudioSource> RenderCommand::openSource(int& inputFormat) const {
  if (options.inputPath.empty()) {
    return std::make_unique<DemoPhrase>();
  }
  auto reader = std::make_unique<SoundFileReader>(options.inputPath);
  inputFormat = reader->format();
  return reader;
}

void RenderCommand::setUp(EffectInstance& effect, const std::vector<std::string>& programs,
                          int sampleRate) const {
  effect.configure(static_cast<float>(sampleRate), options.blockSize);
  if (!options.program.empty()) {
    effect.selectProgram(findProgram(programs, options.program));
  }
  applySettings(effect, options.settings);
}

void RenderCommand::renderSource(EffectInstance& effect, const std::string& programName,
                                 AudioSource& source, int inputFormat) {
  const int sampleRate = source.sampleRate();
  const std::string outputPath =
      expandProgramPlaceholder(options.outputPath, programSlug(programName));
  const std::string plotPath = expandProgramPlaceholder(options.plotPath, programSlug(programName));
  const int chosen = chooseOutputFormat(outputPath, inputFormat, sampleRate, 2);
  const int format = fitFormatToLength(outputPath, chosen, 2, longestOutputFrames(options, source));
  refuseOverwritingInput(options.inputPath, outputPath);
  if (options.inputPath.empty() && !options.demo) {
    refuseReplacingWithTheDemo(outputPath);
  }
  if (!plotPath.empty()) {
    refusePlotPath(plotPath, options.inputPath, outputPath);
  }
  const std::optional<DelayTimes> delays = readDelayTimes(effect, static_cast<float>(sampleRate));
  std::optional<WaveformPlot> plot;
  if (!plotPath.empty()) {
    plot.emplace(sampleRate);
  }
  renderInto(effect, source, outputPath, format, format != chosen, delays, plot ? &*plot : nullptr);

  warnAboutNonFinite(lastResult);
  warnAboutLevels(lastResult, format);
  warnAboutInput(lastResult, source);
  if (plot) {
    try {
      plot->save(plotPath, plotTitle(programName, delays, sampleRate), delays);
    } catch (const ToolError& error) {
      throw ToolError(std::string(error.what()) + "; the audio was written to '" + outputPath +
                      "'");
    }
  }
  if (options.stats) {
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", programName.c_str(),
                milliseconds(delays, true, sampleRate).c_str(),
                milliseconds(delays, false, sampleRate).c_str(), decibels(lastResult.peak).c_str(),
                decibels(lastResult.rms).c_str(), outputPath.c_str());
  }
}

void RenderCommand::renderInto(EffectInstance& effect, AudioSource& source,
                               const std::string& outputPath, int format, bool plainWhenSmall,
                               const std::optional<DelayTimes>& delays, WaveformPlot* plot) {
  const int sampleRate = source.sampleRate();
  SoundFileWriter writer(outputPath, format, sampleRate, 2, plainWhenSmall);
  const TailPlan tail = planTail(options, delays, sampleRate);
  const int64_t most = source.frames() + (tail.automatic ? tail.maxFrames : tail.fixedFrames);
  ProgressBar progress(stderr, ProgressBar::isTerminal(stderr), most);
  InputTap tap(source, [plot](const float* frames, int channels, int64_t count) {
    if (plot != nullptr) {
      plot->observeInput(frames, channels, count);
    }
  });

  effect.start();
  Renderer renderer(effect, options.blockSize);
  lastResult = renderer.render(
      tap,
      [&](const float* frames, int64_t count) {
        writer.write(frames, count);
        if (plot != nullptr) {
          plot->observeOutput(frames, count);
        }
      },
      tail, &progress, [] { return interruptFlag() != 0; });
  effect.finish();
  if (interruptFlag() != 0) {
    throw ToolError("interrupted; nothing written");
  }
  const auto commitStart = std::chrono::steady_clock::now();
  writer.commit();
  lastResult.writeSeconds +=
      std::chrono::duration<double>(std::chrono::steady_clock::now() - commitStart).count();
  progress.finish();
}

}  // namespace wrenfold
