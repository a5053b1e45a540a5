// wrenfold-snapshot out.png [--program N|NAME] [--set NAME=VALUE …]
// Builds the plug-in with the toolkit's headless back end linked in, opens its editor through the
// dispatcher (get rect, open, idle) and writes the editor window's pixels as a PNG file.
#include <cstdio>
#include <string>
#include <vector>

#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "plugin/PluginEntry.h"
#include "tools/render/EffectInstance.h"
#include "tools/render/EffectSetup.h"
#include "tools/render/HostCallback.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"

namespace wrenfold {
namespace {

struct SnapshotOptions {
  std::string outputPath;
  std::string program;
  std::vector<ParameterSetting> settings;
};

SnapshotOptions parseSnapshotOptions(const std::vector<std::string>& arguments) {
  SnapshotOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto takeValue = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw RenderError(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "--program")
      options.program = takeValue();
    else if (argument == "--set")
      options.settings.push_back(parseParameterSetting(takeValue()));
    else if (!argument.empty() && argument[0] == '-')
      throw RenderError("unknown option " + argument);
    else if (options.outputPath.empty())
      options.outputPath = argument;
    else
      throw RenderError("only one output file, not also " + argument);
  }
  if (options.outputPath.empty())
    throw RenderError("usage: wrenfold-snapshot out.png [--program N|NAME] [--set NAME=VALUE ...]");
  return options;
}

// Writes through a temporary name so that a failed write leaves no partial file behind.
bool savePng(platform::Window* window, const std::string& path) {
  const std::string temporary = path + ".part";
  if (headless::saveWindowPng(window, temporary.c_str()) && std::rename(temporary.c_str(), path.c_str()) == 0)
    return true;
  std::remove(temporary.c_str());
  return false;
}

// Opens the editor inside a stand-in host window of the headless back end, lets it draw, and
// writes the editor window's pixels out.
void captureEditor(AEffect* effect, const std::string& path) {
  ERect* rect = nullptr;
  if (effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) == 0 || rect == nullptr)
    throw RenderError("the effect has no editor");
  const int32_t width = rect->right - rect->left;
  const int32_t height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0) throw RenderError("the editor has no size");
  platform::Window* host = headless::createHostWindow(Rect(0, 0, width, height));
  if (effect->dispatcher(effect, effEditOpen, 0, 0, host, 0.0f) == 0) {
    headless::destroyHostWindow(host);
    throw RenderError("the editor did not open a window");
  }
  while (platform::dispatchOnePendingPaint()) {
  }
  effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
  while (platform::dispatchOnePendingPaint()) {
  }
  const std::vector<platform::Window*> children = headless::childWindows(host);
  const bool saved = !children.empty() && savePng(children.front(), path);
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  headless::destroyHostWindow(host);
  if (!saved) throw RenderError("cannot write " + path);
}

int run(const SnapshotOptions& options) {
  EffectInstance effect(createPluginInstance(renderHostCallback));
  if (effect.record() == nullptr) throw RenderError("the plug-in could not be created");
  if (!options.program.empty()) effect.selectProgram(findProgram(effect.programNames(), options.program));
  applySettings(effect, options.settings);
  captureEditor(effect.record(), options.outputPath);
  return 0;
}

}  // namespace
}  // namespace wrenfold

int main(int argc, char** argv) {
  try {
    return wrenfold::run(wrenfold::parseSnapshotOptions(std::vector<std::string>(argv + 1, argv + argc)));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-snapshot: %s\n", error.what());
  }
  return 1;
}
