#pragma once

#include <string>
#include <vector>

#include "params/ParameterFormat.h"

namespace wrenfold {

// One --set NAME=VALUE from the command line; the value is a normalised number or a display
// text, read once the effect is loaded.
struct ParameterSetting {
  std::string name;
  std::string value;
};

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
  bool demo = false;  // render the demo phrase, also over an existing file
  bool list = false;
  bool stats = false;
  bool timing = false;
  bool help = false;
  bool version = false;
};

// Throws RenderError for a file name the tools cannot use: an empty one, or '-', which is not
// standard input or output here; role names the file ("input", "output") in the message.
void refuseFileName(const std::string& role, const std::string& name);

// Returns the value of an option that must not be empty; throws RenderError naming the option.
const std::string& requireText(const std::string& option, const std::string& value);

// Returns the setting of a NAME=VALUE text; throws RenderError when the name or value is missing.
ParameterSetting parseParameterSetting(const std::string& text);

// Returns the options of a command line; throws RenderError naming what is wrong, including an
// empty or '-' file name and an empty --program or --module.
RenderOptions parseRenderOptions(const std::vector<std::string>& arguments);

// Returns the usage text printed by --help.
std::string renderUsage();

// Returns the line --version prints for the named program: its name and the project's version.
std::string versionLine(const std::string& program);

}  // namespace wrenfold
