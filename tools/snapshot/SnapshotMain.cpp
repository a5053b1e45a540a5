// wrenfold-snapshot [--program N|NAME] [--set NAME=VALUE …] [--scale S] out.png (.png only)
// Builds the plug-in with the toolkit's headless back end linked in, opens its editor through the
// dispatcher (get rect, open, idle) and writes the editor window's pixels as a PNG file.
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "hostkit/EffectInstance.h"
#include "hostkit/Host.h"
#include "hostkit/LibraryCaches.h"
#include "params/ParameterFormat.h"
#include "plugin/PluginEntry.h"
#include "tools/common/CommandLine.h"
#include "tools/common/EffectSetup.h"
#include "tools/common/MessageText.h"
#include "tools/common/OutputFile.h"
#include "tools/common/PngFile.h"
#include "tools/common/ToolError.h"

namespace wrenfold {
namespace {

struct SnapshotOptions {
  std::string outputPath;
  std::string program;
  std::vector<ParameterSetting> settings;
  std::string scale = "1";
  bool help = false;
  bool version = false;
};

const char snapshotUsage[] =
    "usage: wrenfold-snapshot [options] OUTPUT.png\n"
    "\n"
    "Opens the Wrenfold editor, built in with the toolkit's headless back end, and writes\n"
    "what it drew into OUTPUT.png (a regular file or a new name; a link is followed). A\n"
    "'{program}' in OUTPUT becomes the program's name as a lower-case slug.\n"
    "\n"
    "options:\n"
    "  --program N|NAME   select a factory program by number or name\n"
    "  --set NAME=VALUE   set a parameter as wrenfold-render does: to a text it shows, with\n"
    "                     its unit (TempoL=128bpm, NoteLenL=1/8), or to a normalised VALUE\n"
    "                     from 0 to 1 (repeatable)\n"
    "  --scale S          draw the editor at S pixels for each of its own, 1 to 3 in steps of\n"
    "                     0.25 (default 1: 350x430; 2 gives 700x860), whatever the desktop\n"
    "                     or the user's editor settings say\n"
    "  --help             print this text\n"
    "  --version          print the version\n";

void takeOutputPath(SnapshotOptions& options, const std::string& argument) {
  if (!options.outputPath.empty()) throw ToolError("only one output file, not also " + argument);
  if (argument.empty()) throw ToolError("the output file name is empty");
  refuseNonPngName(argument);
  options.outputPath = argument;
}

// Returns a scale the editor takes as it is, a quarter step from 1 to 3, as the editor reads it.
std::string scaleOf(const std::string& text) {
  double scale = 0;
  const bool valid = parseDecimal(text, scale) && scale >= 1 && scale <= 3;
  const int quarters = valid ? static_cast<int>(scale * 4) : 0;
  if (!valid || quarters != scale * 4)
    throw ToolError("--scale takes 1 to 3 in steps of 0.25 (1, 1.25, 1.5 ... 3), not '" + text +
                    "'");
  return std::to_string(quarters / 4) + "." + std::to_string(quarters % 4 * 25);
}

SnapshotOptions parseSnapshotOptions(const std::vector<std::string>& arguments) {
  SnapshotOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto takeValue = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw ToolError(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h")
      options.help = true;
    else if (argument == "--version")
      options.version = true;
    else if (argument == "--program")
      options.program = requireText(argument, takeValue());
    else if (argument == "--set")
      options.settings.push_back(parseParameterSetting(takeValue()));
    else if (argument == "--scale")
      options.scale = scaleOf(takeValue());
    else if (argument.size() > 1 && argument[0] == '-')
      throw ToolError("unknown option " + argument + " (see --help)");
    else
      takeOutputPath(options, argument);
  }
  if (options.outputPath.empty() && !options.help && !options.version)
    throw ToolError("no output file given (see --help)");
  return options;
}

// Opens the editor inside a stand-in host window of the headless back end, lets it draw, and
// copies its pixels out.
std::vector<uint32_t> captureEditor(AEffect* effect, int32_t& width, int32_t& height) {
  ERect* rect = nullptr;
  if (effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) == 0 || rect == nullptr)
    throw ToolError("the effect has no editor");
  width = rect->right - rect->left;
  height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0) throw ToolError("the editor has no size");
  platform::Window* host = headless::createHostWindow(Rect(0, 0, width, height));
  if (effect->dispatcher(effect, effEditOpen, 0, 0, host, 0.0f) == 0) {
    headless::destroyHostWindow(host);
    throw ToolError("the editor did not open a window");
  }
  effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
  while (platform::dispatchOnePendingPaint()) {
  }
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  platform::Window* editor = headless::childWindows(host).front();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const Color c = headless::windowPixel(editor, Point(x, y));
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
             static_cast<std::size_t>(x)] =
          static_cast<uint32_t>(c.red) << 16 | static_cast<uint32_t>(c.green) << 8 | c.blue;
    }
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  headless::destroyHostWindow(host);
  return pixels;
}

void writePng(const std::string& path, std::vector<uint32_t>& pixels, int32_t width,
              int32_t height) {
  cairo_surface_t* image = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(pixels.data()), CAIRO_FORMAT_RGB24, width, height,
      width * static_cast<int32_t>(sizeof(uint32_t)));
  try {
    writePngFile(path, image);
  } catch (...) {
    cairo_surface_destroy(image);
    throw;
  }
  cairo_surface_destroy(image);
}

int run(const SnapshotOptions& options) {
  // The user's choice comes first for the editor: the snapshot's own scale is that choice.
  setenv("WRENFOLD_EDITOR_SCALE", options.scale.c_str(), 1);
  EffectInstance effect(createPluginInstance(hostkit::Host::callback()));
  if (effect.record() == nullptr) throw ToolError("the plug-in could not be created");
  if (!options.program.empty())
    effect.selectProgram(findProgram(effect.programNames(), options.program));
  applySettings(effect, options.settings);
  const std::vector<std::string> programs = effect.programNames();
  const int current = effect.currentProgram();
  const std::string slug = programSlug(
      current >= 0 && current < static_cast<int>(programs.size()) ? programs[current] : "");
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels = captureEditor(effect.record(), width, height);
  writePng(expandProgramPlaceholder(options.outputPath, slug), pixels, width, height);
  return 0;
}

}  // namespace
}  // namespace wrenfold

namespace {

// Parses the command line and runs the snapshot; answers the exit status.
int snapshot(int argc, char** argv) {
  try {
    const wrenfold::SnapshotOptions options =
        wrenfold::parseSnapshotOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(wrenfold::snapshotUsage, stdout);
      return 0;
    }
    if (options.version) {
      std::fputs(wrenfold::versionLine("wrenfold-snapshot").c_str(), stdout);
      return 0;
    }
    return wrenfold::run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-snapshot: %s\n",
                 wrenfold::shortenedMessage(error.what()).c_str());
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  wrenfold::OutputFile::removeOnSignals(nullptr);
  const int status = snapshot(argc, argv);
  wrenfold::hostkit::releaseLibraryCaches();
  return status;
}
