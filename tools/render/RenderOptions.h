#pragma once

#include <string>
#include <vector>

#include "params/ParameterFormat.h"
#include "tools/common/CommandLine.h"

namespace wrenfold {

// Everything the command line asks for.
struct RenderOptions {
  std::string inputPath;  // empty: render the built-in demo phrase
  std::string outputPath;
  std::string plotPath;    // empty: draw no waveform
  std::string modulePath;  // empty: look in the usual places
  std::string program;     // empty: keep the effect's first program
  std::vector<ParameterSetting> settings;
  int blockSize = 512;
  double tailSeconds = -1.0;  // negative: until the echoes have died away
  bool demo = false;          // render the demo phrase, also over an existing file
  bool list = false;
  bool stats = false;
  bool timing = false;
  bool help = false;
  bool version = false;
};

// Returns the options of a command line; throws ToolError naming what is wrong, including an
// empty or '-' file name and an empty --program or --module.
RenderOptions parseRenderOptions(const std::vector<std::string>& arguments);

// Returns the usage text printed by --help.
std::string renderUsage();

}  // namespace wrenfold
